// CMainWnd: Quoril's one window.
//
// A skinned top-level window whose skin is the zip archive stored in the executable's resources
// (type "ZIPRES", id 4); the layout language follows the user's interface language. It carries a
// drop shadow, lets the user drag it by the skin's caption strip, builds the connection list once
// it is ready (or takes the list a CStartupLookup built meanwhile, at its first paint), and
// forwards every notification's type and sender name to CMainActions, which holds the click logic.
// The label "lblStatus" under the buttons shows what the actions report as in force.
//
// It routes only four messages to its own handlers (create, size, close, hit test) and looks at a
// fifth (the first paint takes the look-up); everything else goes to the host and then to the
// default procedure. Unlike the base, a skin that cannot be found ends the program with the skin
// failure message: without it the window would stay 0 x 0, invisible and without a caption. The
// object lives on the heap and deletes itself after the last message of its window.
#pragma once

#include <windows.h>

#include "app/MainActions.h"
#include "app/StartupLookup.h"
#include "shadow/WndShadow.h"
#include "window/WindowImplBase.h"

namespace Quoril {

class CMainWnd : public SkinUI::WindowImplBase {
public:
    static const int kSkinResourceId = 4;
    static const UINT kIconResourceId = 107;
    // The label under the buttons that says which DNS servers are in force.
    static constexpr const char* kStatusControl = "lblStatus";
    static constexpr const char* kWindowClassName = "UIMainWnd";
    static constexpr const char* kWindowTitle = "Quoril";

    CMainWnd();
    // The actions' system seam and connection list, for tests.
    CMainWnd(ISystemServices& services, AdapterList& adapters);

    // "MainWnd.xml" for the Chinese interface languages of Taiwan, the mainland and Hong Kong
    // (0x0404, 0x0804, 0x0C04), "MainWnd.en.xml" for every other language.
    static const char* SkinFileForLanguage(LANGID language);
    // Whether messages are in English for this interface language (every language but those three).
    static bool IsEnglishInterface(LANGID language);
    // The connection look-up started as the program started: the window takes its result when it
    // is ready instead of looking up again. Not owned; it must outlive the window's creation.
    void UseStartupLookup(CStartupLookup* lookup) { m_startupLookup = lookup; }

    const char* WindowClassName() const override;
    SkinUI::CUIString SkinFolder() override;
    SkinUI::CUIString SkinFile() override;
    SkinUI::SkinSource SkinSourceKind() const override;
    const char* SkinResourceId() const override;
    void OnWindowReady() override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMsgCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnMsgClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnMsgNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnWindowGone(HWND hwnd) override;
    void OnNotification(SkinUI::TNotifyEvent& event) override;

protected:
    // The interface language deciding the layout (tests pin it).
    virtual LANGID InterfaceLanguage() const;

private:
    void ShowStatus(const std::wstring& text);
    // Waits for the look-up started with the program, if it is still to be taken, and shows its
    // status.
    void TakeStartupLookup();

    SkinUI::CWndShadow m_shadow;
    CMainActions m_actions;
    CStartupLookup* m_startupLookup = nullptr;  // not owned; forgotten once its result is taken
};

}  // namespace Quoril
