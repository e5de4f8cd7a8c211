// CRichEditUI: a windowless multi-line text editor ("RichEdit" in the skin).
//
// The editing itself is done by the system's windowless rich text services, which this control
// embeds through CTxtWinHost (controls/richedit/TextHost.h). The control registers itself as a message
// filter of its window host and hands the services the native mouse and keyboard messages that
// concern it; the services call back for caret, timers, capture, scroll bars and repaints. Paint
// draws the services' content into the host's off-screen bitmap inside the control's client
// rectangle (position minus inset minus the visible bars). The container's own scroll bars show
// the services' scroll state, and the container scroll operations become scroll messages.
//
// The services are created once, when the control is first initialised or laid out in a host
// with a window; the style attributes count only if set before that. Without the services the
// control paints like a container, only stores its text and forwards nothing.
//
// The host window is ANSI: characters arrive as code page bytes (a double-byte character as two
// WM_CHAR messages) and are given to the services as UTF-16, which is what they store.
//
// Implemented in RichEdit.cpp (services, painting, scrolling) and RichEditInput.cpp (input and
// the message filter).
#pragma once

#include <cstdint>

#include "controls/base/Container.h"
#include "controls/richedit/TextHost.h"
#include "host/Events.h"

namespace SkinUI {

class CRichEditUI : public CContainerUI, public IMessageFilterUI {
public:
    CRichEditUI();
    ~CRichEditUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "RichEdit";
    void* CastTo(const char* name) override;
    unsigned GetCapabilities() const override;
    CUIString GetText() const override;
    void SetText(const char* text) override;
    void SetPosition(const CRectUI& rect) override;
    void AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow) override;
    void OnInitialize() override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    // The services' content, inside the base's painting (after the images, before the border).
    void PaintText(HDC hdc) override;
    void SetScrollPosition(const CSizeUI& position) override;
    void ScrollLineUp() override;
    void ScrollLineDown() override;
    void ScrollPageUp() override;
    void ScrollPageDown() override;
    void ScrollToTop() override;
    void ScrollToBottom() override;
    void ScrollLineLeft() override;
    void ScrollLineRight() override;
    void ScrollPageLeft() override;
    void ScrollPageRight() override;
    void ScrollToLeftEnd() override;
    void ScrollToRightEnd() override;

    // Hands a message to the text services; 1 (not processed) without them. Return is taken here
    // and announced as "return" when the editor does not want it.
    virtual HRESULT SendTextMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The services changed the view; answers whether the control repaints (always).
    virtual bool OnViewChanged();
    // A notification of the services; the ones a parent window may want go to the host window as
    // WM_NOTIFY.
    virtual void OnTextNotify(DWORD code, void* record);

    LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    bool WantsTab() const { return m_wantTab; }
    bool IsReadOnly() const { return m_readOnly; }
    bool IsRich() const { return m_rich; }
    DWORD GetEditStyle() const { return m_editStyle; }
    bool HasTextServices() const { return m_textHost != nullptr; }
    const CTxtWinHost* GetTextHost() const { return m_textHost; }

    // Lets another editor component stand in for the system's text services in controls created
    // from now on; null restores the system's.
    static void UseTextServicesFactory(CTxtWinHost::TCreateServices create);

private:
    void CreateTextHost();
    // Gives the text services the host's font for m_font (and remembers which handle that was).
    void UseHostFont();
    CRectUI TextRect() const;
    // The height the text needs at `width` pixels; -1 when the services cannot say.
    int NaturalHeight(int width) const;
    void FitVerticalBar(const CRectUI& text, bool wasVisible);
    void ScrollMessage(UINT message, WPARAM wParam);
    void KeepPlainTextScroll(int requested, int before);
    LRESULT FilterMouse(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    bool TakesReturn() const;
    // Combines double-byte pairs and turns complete characters into UTF-16 WM_CHAR messages.
    LRESULT FilterChar(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT ForwardToServices(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void Unregister();

    CTxtWinHost* m_textHost = nullptr;  // one reference, released in the destructor
    CWindowHostUI* m_filterHost = nullptr;  // the host this control is a message filter of
    bool m_verticalAutoShown = false;
    bool m_wantTab = true;
    bool m_wantReturn = true;
    bool m_wantCtrlReturn = true;
    bool m_rich = true;
    bool m_readOnly = false;
    uint32_t m_textColor = 0;  // 0xAARRGGBB
    int m_font = -1;  // index into the host's fonts; -1 the default font
    HFONT m_fontInUse = nullptr;  // the host's handle the text services took last; owned by the host
    int m_textLimit = 0x7FFF;
    DWORD m_editStyle = ES_MULTILINE;
    bool m_initialised = false;
    bool m_accumulateDbcs = true;
    uint16_t m_leadByte = 0;  // pending lead byte in the high byte; 0: none
    bool m_returnTaken = false;  // the WM_CHAR of a Return we announced is dropped

    static CAttributeTable<CRichEditUI> OwnAttributes();
};

}  // namespace SkinUI
