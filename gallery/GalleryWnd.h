// CGalleryWnd: the SkinUI Gallery's one window, every control of the framework on tab pages.
//
// A skinned window on WindowImplBase whose skin is the zip archive among the executable's resources
// (type "ZIPRES", id kSkinResourceId), layout "Gallery.xml". The option buttons along the top select
// the pages of the tab layout "pages"; the slider "sldLevel" drives the progress bar "prgLevel"; the
// list "lstRows" is filled with kListRows rows once the window is ready; the virtual list
// "vlsMillion" shows CMillionRows, and "lblMillion" its figures. Every notification the
// window receives is described on the label "lblStatus" (see NotifyText.h) and, when the environment
// names a log file, appended to it (StatusLog.h) before any handler runs.
//
// Controls are looked up by name whenever a handler needs them; no control pointer is kept between
// notifications. The object lives on the heap and deletes itself after its window's last message.
#pragma once

#include "gallery/MillionRows.h"
#include "gallery/StatusLog.h"
#include "window/WindowImplBase.h"

namespace Gallery {

class CGalleryWnd : public SkinUI::WindowImplBase {
public:
    static const int kSkinResourceId = 4;
    static const UINT kIconResourceId = 107;
    static const int kListRows = 300;
    static constexpr const char* kTitle = "SkinUI Gallery";
    static constexpr const char* kStatusControl = "lblStatus";
    static constexpr const char* kDpiControl = "lblDpi";
    static constexpr const char* kMillionList = "vlsMillion";
    static constexpr const char* kMillionCounts = "lblMillion";

    const char* WindowClassName() const override;
    SkinUI::CUIString SkinFolder() override;
    SkinUI::CUIString SkinFile() override;
    SkinUI::SkinSource SkinSourceKind() const override;
    const char* SkinResourceId() const override;
    void OnWindowReady() override;
    void OnWindowGone(HWND hwnd) override;
    void OnNotification(SkinUI::TNotifyEvent& event) override;
    LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    const SkinUI::TNotifyMap* NotifyMap() const override;
    static const SkinUI::TNotifyMap* StaticNotifyMap();

private:
    void OnPageButton(SkinUI::TNotifyEvent& event);
    void OnLevelChanged(SkinUI::TNotifyEvent& event);
    void OnColumnClick(SkinUI::TNotifyEvent& event);
    void FillList();
    void ShowStatus(const std::string& text);
    // "<dpi> DPI (<percent> %)" in the status line, for the window's current DPI.
    void ShowDpi();

    CStatusLog m_log;
    CMillionRows m_millionRows;
};

}  // namespace Gallery
