#include "gallery/GalleryWnd.h"

#include <cstdio>
#include <string>

#include "controls/list/List.h"
#include "controls/list/ListTextElement.h"
#include "controls/text/Option.h"
#include "controls/range/Progress.h"
#include "controls/layout/TabLayout.h"
#include "controls/list/VirtualList.h"
#include "gallery/FruitRows.h"
#include "gallery/NotifyText.h"

namespace Gallery {

namespace {

using SkinUI::CControlUI;
using SkinUI::TNotifyEvent;

// The page buttons, in the order of the pages they select.
const char* const kPageButtons[] = {"optLayouts", "optBasics", "optInput", "optList", "optTree", "optHosted"};

template <class T> T* FindAs(SkinUI::CWindowHostUI& host, const char* name, const char* type)
{
    CControlUI* control = host.FindControlByName(name);
    return control != nullptr ? static_cast<T*>(control->CastTo(type)) : nullptr;
}

}  // namespace

const char* CGalleryWnd::WindowClassName() const { return "SkinUIGallery"; }

SkinUI::CUIString CGalleryWnd::SkinFolder() { return ""; }

SkinUI::CUIString CGalleryWnd::SkinFile() { return "Gallery.xml"; }

SkinUI::SkinSource CGalleryWnd::SkinSourceKind() const { return SkinUI::SkinSourceZipResource; }

const char* CGalleryWnd::SkinResourceId() const { return MAKEINTRESOURCEA(kSkinResourceId); }

void CGalleryWnd::OnWindowReady()
{
    ShowDpi();
    FillList();
    if (auto* list = FindAs<SkinUI::CVirtualListUI>(m_host, kMillionList, "VirtualList")) {
        m_millionRows.SetWindow(GetHWND());
        list->SetSource(&m_millionRows);
        list->SetRowCount(CMillionRows::kRows);
    }
}

// The figures of the million-row list, after the paint whose rows they count.
LRESULT CGalleryWnd::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (message == WM_DPICHANGED) {
        // The host takes the new DPI first; the line then shows it.
        LRESULT result = 0;
        m_host.HandleWindowMessage(message, wParam, lParam, result);
        ShowDpi();
        handled = true;
        return result;
    }
    if (message != CMillionRows::kCountsMessage)
        return WindowImplBase::OnOtherMessage(message, wParam, lParam, handled);
    m_millionRows.CountsShown();
    auto* list = FindAs<SkinUI::CVirtualListUI>(m_host, kMillionList, "VirtualList");
    CControlUI* counts = m_host.FindControlByName(kMillionCounts);
    if (list != nullptr && counts != nullptr) {
        char text[160];
        std::snprintf(text, sizeof(text), "VirtualList: %d rows, %d row controls made, %lld rows asked for",
            list->GetRowCount(), list->GetRowsCreated(), m_millionRows.Fills());
        counts->SetText(text);
    }
    handled = true;
    return 0;
}

// Any caption sorts the million rows the other way round: the program reorders, the list shows.
void CGalleryWnd::OnColumnClick(TNotifyEvent& event)
{
    auto* list = SkinUI::ControlCast<SkinUI::CVirtualListUI>(event.Sender);
    if (list == nullptr)
        return;
    m_millionRows.ReverseOrder();
    list->RefreshRows(0, list->GetRowCount() - 1);
}

void CGalleryWnd::OnWindowGone(HWND hwnd)
{
    WindowImplBase::OnWindowGone(hwnd);
    delete this;
}

// Rows made in code: the list owns each one once added.
void CGalleryWnd::FillList()
{
    auto* list = FindAs<SkinUI::CListUI>(m_host, "lstRows", "List");
    if (list == nullptr)
        return;
    for (int i = 0; i < kListRows; ++i) {
        auto* row = new SkinUI::CListTextElementUI;
        char number[16];
        std::snprintf(number, sizeof(number), "Row %03d", i + 1);
        const TFruitRow fruit = FruitRow(i);
        row->SetColumnText(0, number);
        row->SetColumnText(1, fruit.name);
        row->SetColumnText(2, fruit.kind);
        row->SetColumnText(3, std::to_string(fruit.grams).c_str());
        if (!list->AddChild(row))
            delete row;
    }
}

void CGalleryWnd::ShowStatus(const std::string& text)
{
    if (CControlUI* status = m_host.FindControlByName(kStatusControl))
        status->SetText(text.c_str());
    m_log.Append(text);
}

void CGalleryWnd::ShowDpi()
{
    CControlUI* line = m_host.FindControlByName(kDpiControl);
    if (line == nullptr)
        return;
    const int dpi = m_host.GetDpi();
    char text[48];
    std::snprintf(text, sizeof(text), "%d DPI (%d %%)", dpi, (dpi * 100 + 48) / 96);
    line->SetText(text);
}

void CGalleryWnd::OnNotification(TNotifyEvent& event)
{
    // The status line describes the event before any handler can change or remove its sender.
    ShowStatus(DescribeNotification(event));
    WindowImplBase::OnNotification(event);
}

void CGalleryWnd::OnPageButton(TNotifyEvent& event)
{
    auto* button = SkinUI::ControlCast<SkinUI::COptionUI>(event.Sender);
    auto* pages = FindAs<SkinUI::CTabLayoutUI>(m_host, "pages", "TabLayout");
    if (button == nullptr || pages == nullptr || !button->IsSelected())
        return;
    const SkinUI::CUIString name = button->GetName();
    for (int i = 0; i < static_cast<int>(sizeof(kPageButtons) / sizeof(kPageButtons[0])); ++i) {
        if (name == kPageButtons[i])
            pages->SelectTab(i);
    }
}

void CGalleryWnd::OnLevelChanged(TNotifyEvent& event)
{
    auto* slider = SkinUI::ControlCast<SkinUI::CProgressUI>(event.Sender);
    auto* progress = FindAs<SkinUI::CProgressUI>(m_host, "prgLevel", "Progress");
    if (slider != nullptr && progress != nullptr)
        progress->SetValue(slider->GetValue());
}

const SkinUI::TNotifyMap* CGalleryWnd::NotifyMap() const { return StaticNotifyMap(); }

const SkinUI::TNotifyMap* CGalleryWnd::StaticNotifyMap()
{
    using Self = CGalleryWnd;
    static const SkinUI::TNotifyMapEntry entries[] = {
        SkinUI::NotifyOnEvent<Self, &Self::OnPageButton>("selectchanged", kPageButtons[0]),
        SkinUI::NotifyOnEvent<Self, &Self::OnPageButton>("selectchanged", kPageButtons[1]),
        SkinUI::NotifyOnEvent<Self, &Self::OnPageButton>("selectchanged", kPageButtons[2]),
        SkinUI::NotifyOnEvent<Self, &Self::OnPageButton>("selectchanged", kPageButtons[3]),
        SkinUI::NotifyOnEvent<Self, &Self::OnPageButton>("selectchanged", kPageButtons[4]),
        SkinUI::NotifyOnEvent<Self, &Self::OnPageButton>("selectchanged", kPageButtons[5]),
        SkinUI::NotifyOnEvent<Self, &Self::OnLevelChanged>("valuechanged", "sldLevel"),
        SkinUI::NotifyOnEvent<Self, &Self::OnColumnClick>("columnclick", kMillionList),
        SkinUI::NotifyEnd(),
    };
    static const SkinUI::TNotifyMap map = {WindowImplBase::StaticNotifyMap(), entries};
    return &map;
}

}  // namespace Gallery
