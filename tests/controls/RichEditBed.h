// A host window with a rich edit (300 x 100 at the top, named "edit") above a button (300 x 40,
// named "button") or other markup given, built from skin markup, and helpers that type and key into
// it as a window would.
#pragma once

#include <windows.h>

#include <string>

#include "support/HostBed.h"
#include "controls/richedit/RichEdit.h"
#include "skin/SkinBuilder.h"

namespace testbed {

class RichEditBed {
public:
    explicit RichEditBed(
        const std::string& editAttributes = "", const std::string& below = "<Button name=\"button\" height=\"40\"/>")
    {
        const std::string xml = "<Window><VerticalLayout><RichEdit name=\"edit\" height=\"100\" " + editAttributes
            + "/>" + below + "</VerticalLayout></Window>";
        SkinUI::CSkinBuilder builder;
        bed.Attach(builder.BuildFrom(xml.c_str(), nullptr, nullptr, &bed.Host(), nullptr));
        SkinUI::CControlUI* found = bed.Host().FindControlByName("edit");
        edit = SkinUI::ControlCast<SkinUI::CRichEditUI>(found);
        button = bed.Host().FindControlByName("button");
    }

    // Posts one WM_CHAR per byte, as an ANSI window receives them, and runs them.
    void Type(const std::string& bytes)
    {
        for (unsigned char c : bytes)
            ::PostMessageA(bed.Hwnd(), WM_CHAR, c, 1);
        bed.Pump();
    }

    // A key press as the message loop delivers it: offered to the hosts' pre-translation first.
    bool Press(UINT vk, char ch)
    {
        MSG msg = {bed.Hwnd(), WM_KEYDOWN, vk, 1, 0, {0, 0}};
        if (SkinUI::CWindowHostUI::TranslateForHosts(&msg))
            return false;
        bed.Send(WM_KEYDOWN, vk, 1);
        if (ch != 0)
            bed.Send(WM_CHAR, static_cast<unsigned char>(ch), 1);
        bed.Send(WM_KEYUP, vk, 0xC0000001);
        return true;
    }

    std::string Text() const { return edit->GetText().GetData(); }

    HostBed bed{300, 200};
    SkinUI::CRichEditUI* edit = nullptr;
    SkinUI::CControlUI* button = nullptr;
};

// Holds one virtual key down in the thread's keyboard state while it lives.
class KeyDownScope {
public:
    explicit KeyDownScope(int vk)
        : m_vk(vk)
    {
        Set(0x80);
    }
    ~KeyDownScope() { Set(0); }
    KeyDownScope(const KeyDownScope&) = delete;
    KeyDownScope& operator=(const KeyDownScope&) = delete;

private:
    void Set(BYTE state)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[m_vk] = state;
        ::SetKeyboardState(keys);
    }
    int m_vk;
};

}  // namespace testbed
