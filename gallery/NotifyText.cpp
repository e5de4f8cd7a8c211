#include "gallery/NotifyText.h"

#include <cstring>

#include "controls/text/CheckBox.h"
#include "controls/base/Container.h"
#include "controls/list/ListTextElement.h"
#include "controls/text/Option.h"
#include "controls/range/Progress.h"
#include "controls/range/ScrollBar.h"
#include "controls/list/TreeNode.h"
#include "controls/list/VirtualList.h"

namespace Gallery {

namespace {

using SkinUI::CControlUI;
using SkinUI::TNotifyEvent;

template <class T> T* As(CControlUI* control, const char* name)
{
    return control != nullptr ? static_cast<T*>(control->CastTo(name)) : nullptr;
}

std::string Quoted(const SkinUI::CUIString& text)
{
    std::string value(text.GetData());
    if (value.size() > kMaxQuotedText)
        value = value.substr(0, kMaxQuotedText) + "...";
    return "\"" + value + "\"";
}

// A tree node's folder button and check box sit on the node's item row.
SkinUI::CTreeNodeUI* NodeOfPart(CControlUI* part)
{
    CControlUI* row = part->GetParent();
    SkinUI::CTreeNodeUI* node = As<SkinUI::CTreeNodeUI>(row != nullptr ? row->GetParent() : nullptr, "TreeNode");
    return node != nullptr && (node->GetFolderButton() == part || node->GetCheckBox() == part) ? node : nullptr;
}

std::string SenderText(CControlUI* sender)
{
    if (sender == nullptr)
        return "(none)";
    if (!sender->GetName().IsEmpty())
        return sender->GetName().GetData();
    if (SkinUI::CTreeNodeUI* node = NodeOfPart(sender))
        return std::string(node->GetFolderButton() == sender ? "folder of " : "check box of ")
            + Quoted(node->NodeText());
    return std::string("(") + sender->GetTypeName() + ")";
}

std::string ParamsText(const TNotifyEvent& event)
{
    return "wParam " + std::to_string(static_cast<long long>(event.WParam)) + ", lParam "
        + std::to_string(static_cast<long long>(event.LParam));
}

std::string SelectionText(const TNotifyEvent& event)
{
    SkinUI::COptionUI* option = As<SkinUI::COptionUI>(event.Sender, "Option");
    if (option == nullptr)
        return ParamsText(event);
    const bool selected = option->IsSelected();
    SkinUI::CTreeNodeUI* node = NodeOfPart(option);
    if (node != nullptr && node->GetFolderButton() == option)
        return selected ? "collapsed" : "expanded";  // the folder button is "selected" while folded
    if (node != nullptr || std::strcmp(option->GetTypeName(), "CheckBoxUI") == 0)
        return selected ? "checked" : "unchecked";
    return selected ? "selected" : "unselected";
}

std::string RowText(CControlUI* row)
{
    if (auto* columns = As<SkinUI::CListTextElementUI>(row, "ListTextElement"))
        return Quoted(columns->GetColumnText(0));
    return row != nullptr ? Quoted(row->GetText()) : "(no row)";
}

// Lists and combos say which row: WParam is its index among the sender's rows. A virtual list has
// no row to quote; it says how many rows its ranges hold.
std::string ItemText(const TNotifyEvent& event)
{
    const int index = static_cast<int>(event.WParam);
    if (auto* virtualList = As<SkinUI::CVirtualListUI>(event.Sender, "VirtualList"))
        return "item " + std::to_string(index) + ", " + std::to_string(virtualList->GetSelection().Count())
            + " selected";
    auto* rows = As<SkinUI::IContainerUI>(event.Sender, "IContainer");
    if (rows == nullptr)
        return ParamsText(event);
    CControlUI* row = index >= 0 && index < rows->ChildCount() ? rows->ChildAt(index) : nullptr;
    return "item " + std::to_string(index) + " " + RowText(row);
}

std::string ValueText(const TNotifyEvent& event)
{
    auto* progress = As<SkinUI::CProgressUI>(event.Sender, "Progress");
    return progress != nullptr ? "value " + std::to_string(progress->GetValue()) : ParamsText(event);
}

std::string ScrollText(const TNotifyEvent& event)
{
    auto* bar = As<SkinUI::CScrollBarUI>(event.Sender, "ScrollBar");
    return bar != nullptr ? "value " + std::to_string(bar->GetValue()) : ParamsText(event);
}

std::string TextOf(const TNotifyEvent& event) { return "text " + Quoted(event.Sender->GetText()); }

std::string DateText(const TNotifyEvent& event) { return "date " + Quoted(event.Sender->GetText()); }

std::string LinkText(const TNotifyEvent& event)
{
    return "link " + std::to_string(static_cast<long long>(event.WParam));
}

std::string ColumnText(const TNotifyEvent& event)
{
    return "column " + std::to_string(static_cast<long long>(event.WParam));
}

std::string PageText(const TNotifyEvent& event)
{
    return "page " + std::to_string(static_cast<long long>(event.WParam)) + " (was "
        + std::to_string(static_cast<long long>(event.LParam)) + ")";
}

struct TDetail {
    const char* Type;
    std::string (*Describe)(const TNotifyEvent& event);
};

const TDetail kDetails[] = {
    {"selectchanged", &SelectionText},
    {"itemselect", &ItemText},
    {"valuechanged", &ValueText},
    {"scroll", &ScrollText},
    {"textchanged", &TextOf},
    {"return", &TextOf},
    {"datetimechanged", &DateText},
    {"link", &LinkText},
    {"tabselect", &PageText},
    {"columnclick", &ColumnText},
};

}  // namespace

std::string DescribeNotification(const TNotifyEvent& event)
{
    std::string text = std::string(event.Type.GetData()) + " from " + SenderText(event.Sender) + ": ";
    if (event.Sender != nullptr) {
        for (const TDetail& detail : kDetails) {
            if (event.Type == detail.Type)
                return text + detail.Describe(event);
        }
    }
    return text + ParamsText(event);
}

}  // namespace Gallery
