// Builds a small skin into a host on a hidden window and prints what it finds, so the run shows the
// installed headers, libraries and delay imports work together. Exit code 0 only when the button
// was built with its text.
#include <windows.h>

#include <SkinUI/Version.h>

#include <cstdio>
#include <cstring>

#include "controls/base/Control.h"
#include "host/WindowHost.h"
#include "skin/SkinBuilder.h"

int main()
{
    HWND window = ::CreateWindowExA(
        0, "STATIC", "consumer", WS_POPUP, 0, 0, 120, 60, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr)
        return 2;
    int status = 1;
    {
        SkinUI::CWindowHostUI host;
        host.BindWindow(window);
        SkinUI::CSkinBuilder builder;
        SkinUI::CControlUI* root = builder.BuildFrom(
            "<Window size=\"120,60\"><VerticalLayout><Button name=\"ok\" text=\"OK\"/></VerticalLayout></Window>",
            nullptr, nullptr, &host);
        if (root != nullptr && host.AttachRoot(root)) {
            SkinUI::CControlUI* button = host.FindControlByName("ok");
            const SkinUI::CUIString text = button != nullptr ? button->GetText() : SkinUI::CUIString();
            std::printf("SkinUI %s: button \"%s\"\n", SKINUI_VERSION_STRING, text.GetData());
            status = std::strcmp(text.GetData(), "OK") == 0 ? 0 : 1;
        }
    }
    ::DestroyWindow(window);
    return status;
}
