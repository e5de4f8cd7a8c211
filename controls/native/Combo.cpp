#include "controls/native/Combo.h"

#include "controls/native/ComboWnd.h"
#include "controls/list/ListItemCore.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

IListItemUI* AsRow(CControlUI* control) { return ControlCast<IListItemUI>(control); }

}  // namespace

//--- identity and life ---------------------------------------------------------------------------

CComboUI::CComboUI()
    : m_dropBoxSize(0, 150)
{
}

CComboUI::~CComboUI()
{
    // The rows must be back from the pop-up before the container destroys them.
    CloseDropDown();
}

const char* CComboUI::GetTypeName() const { return "ComboUI"; }

void* CComboUI::CastTo(const char* name)
{
    const CUIString n(name);
    if (n == kCastName)
        return this;
    if (n == IListOwnerUI::kCastName)
        return static_cast<IListOwnerUI*>(this);
    return CContainerUI::CastTo(name);
}

unsigned CComboUI::GetCapabilities() const { return IsEnabled() ? (CapabilityTabStop | CapabilityWantsCursor) : 0u; }

void CComboUI::CloseDropDown()
{
    if (m_dropWindow != nullptr)
        m_dropWindow->Close();
}

void CComboUI::OnDropWindowGone()
{
    m_dropWindow = nullptr;
    m_buttonState &= ~StatePushed;
    Invalidate();
}

bool CComboUI::TriggerAction()
{
    if (!CControlUI::TriggerAction())
        return false;
    if (m_dropWindow == nullptr) {
        if (!CComboWnd::Open(this) || m_host == nullptr)
            return true;
        CControlAliveGuard alive(m_host, this);
        m_host->SendNotification(this, "dropdown");
        if (!alive.IsAlive())
            return true;
        Invalidate();
        AnnounceChange(EVENT_OBJECT_STATECHANGE);
    }
    return true;
}

CUIString CComboUI::GetText() const
{
    CControlUI* selected = ChildAt(m_currentIndex);
    return selected != nullptr ? selected->GetText() : CUIString();
}

//--- selection -----------------------------------------------------------------------------------

bool CComboUI::SelectItem(int index, bool takeFocus)
{
    if (m_dropWindow != nullptr)
        m_dropWindow->PostClose();
    if (index == m_currentIndex)
        return true;
    const int oldIndex = m_currentIndex;
    if (m_currentIndex >= 0) {
        IListItemUI* previous = AsRow(ChildAt(m_currentIndex));
        if (previous == nullptr)
            return false;
        previous->Select(false);
        m_currentIndex = -1;
    }
    const int count = ChildCount();
    if (index < 0 || count == 0)
        return false;
    if (index >= count)
        index = count - 1;
    CControlUI* control = ChildAt(index);
    IListItemUI* row = AsRow(control);
    if (row == nullptr || !control->IsVisible() || !control->IsEnabled())
        return false;
    m_currentIndex = index;
    if (m_dropWindow != nullptr || takeFocus)
        control->TakeFocus();
    row->Select(true);
    if (m_host != nullptr) {
        CControlAliveGuard alive(m_host, this);
        m_host->SendNotification(this, "itemselect", index, oldIndex);
        if (!alive.IsAlive())
            return true;
    }
    Invalidate();
    return true;
}

//--- child list ----------------------------------------------------------------------------------

bool CComboUI::AddChild(CControlUI* control)
{
    // A row listed already is refused before it is renumbered: it keeps its place and index.
    if (control == nullptr || IndexOfChild(control) >= 0)
        return false;
    const int index = ChildCount();
    NumberRow(control, this, index);
    if (!CContainerUI::AddChild(control))
        return false;
    m_numbering.Inserted(index);
    return true;
}

// The open pop-up shows the rows by their old places: it closes before they move.
bool CComboUI::InsertChild(CControlUI* control, int index)
{
    if (control == nullptr || IndexOfChild(control) >= 0)
        return false;
    CloseDropDown();
    if (!CContainerUI::InsertChild(control, index))
        return false;
    NumberRow(control, this, index);
    m_numbering.Inserted(index);
    if (m_currentIndex >= index)
        ++m_currentIndex;
    return true;
}

bool CComboUI::MoveChild(CControlUI* control, int newIndex)
{
    if (IndexOfChild(control) < 0)
        return false;
    CloseDropDown();
    return MoveRow(*this, control, newIndex, m_currentIndex);
}

bool CComboUI::RemoveChild(CControlUI* control)
{
    if (IndexOfChild(control) < 0)
        return false;
    CloseDropDown();
    // Taken again: the pop-up's closing notifications may have changed the rows.
    const int index = IndexOfChild(control);
    if (!RemoveOwnChildren(index, 1))
        return false;
    m_numbering.ShiftedFrom(index);
    SelectionAfterRemoval(*this, *this, index, 1, m_currentIndex);
    return true;
}

bool CComboUI::RemoveChildAt(int index)
{
    CControlUI* control = ChildAt(index);
    return control != nullptr && RemoveChild(control);
}

void CComboUI::RemoveAllChildren()
{
    CloseDropDown();
    m_currentIndex = -1;
    m_numbering.ShiftedFrom(0);
    CContainerUI::RemoveAllChildren();
}

//--- layout and input ----------------------------------------------------------------------------

void CComboUI::SetPosition(const CRectUI& rect)
{
    // Rows on loan to the open pop-up belong to its host, and its layout places them.
    for (int i = 0; i < ChildCount(); ++i) {
        CControlUI* row = ChildAt(i);
        if (row->GetHost() == m_host)
            row->SetPosition(CRectUI());
    }
    CControlUI::SetPosition(rect);
}

void CComboUI::SetEnabled(bool enabled)
{
    CContainerUI::SetEnabled(enabled);
    if (!enabled) {
        m_buttonState = 0;
        // A combo that takes no input has no drop-down to choose from.
        CloseDropDown();
    }
}

void CComboUI::SetVisible(bool visible)
{
    CContainerUI::SetVisible(visible);
    if (!IsVisible())
        CloseDropDown();
}

void CComboUI::SetVisibleByParent(bool visible)
{
    CContainerUI::SetVisibleByParent(visible);
    if (!IsVisible())
        CloseDropDown();
}

CSizeUI CComboUI::MeasureSize(CSizeUI /*available*/)
{
    const CSizeUI fixed = Scaled(m_fixedSize);
    if (fixed.cy != 0 || m_host == nullptr)
        return fixed;
    return CSizeUI(fixed.cx, m_host->GetDefaultFontEntry()->metrics.tmHeight + Scaled(12));
}

bool CComboUI::OnKeyDown(char key)
{
    int target;
    switch (static_cast<unsigned char>(key)) {
    case VK_UP:
    case VK_PRIOR:
        target = FindSelectableChild(m_currentIndex - 1, false);
        break;
    case VK_DOWN:
    case VK_NEXT:
        target = FindSelectableChild(m_currentIndex + 1, true);
        break;
    case VK_HOME:
        target = FindSelectableChild(0, false);
        break;
    case VK_END:
        target = FindSelectableChild(ChildCount() - 1, true);
        break;
    case VK_F4:
        TriggerAction();
        return true;
    default:
        return false;
    }
    SelectItem(target, false);
    return true;
}

void CComboUI::OnEvent(TInputEvent& event)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CContainerUI::OnEvent(e); }))
        return;
    switch (event.Type) {
    case InputEventKind::FocusGained:
    case InputEventKind::FocusLost:
        Invalidate();
        CControlUI::OnEvent(event);
        return;
    case InputEventKind::ButtonDown:
        if (!IsEnabled())
            break;
        {
            CControlAliveGuard alive(m_host, this);
            TriggerAction();
            if (!alive.IsAlive())
                return;
        }
        m_buttonState |= StatePushed | StateCaptured;
        return;
    case InputEventKind::ButtonUp:
        if ((m_buttonState & StateCaptured) != 0) {
            // The pushed look stays while the pop-up is open.
            m_buttonState &= ~StateCaptured;
            Invalidate();
        }
        return;
    case InputEventKind::MouseMove:
    case InputEventKind::ContextMenu:
        return;
    case InputEventKind::KeyDown:
        if (OnKeyDown(event.KeyChar))
            return;
        break;
    case InputEventKind::ScrollWheel: {
        const bool down = LOWORD(event.WParam) == 1;
        SelectItem(FindSelectableChild(m_currentIndex + (down ? 1 : -1), down), false);
        return;
    }
    case InputEventKind::MouseEnter:
        if (m_position.Contains(event.MousePoint)) {
            m_buttonState |= StateHot;
            Invalidate();
        }
        return;
    case InputEventKind::MouseLeave:
        if ((m_buttonState & StateHot) != 0) {
            m_buttonState &= ~StateHot;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::OnEvent(event);
}

//--- attributes and painting ---------------------------------------------------------------------

CAttributeTable<CComboUI> CComboUI::OwnAttributes()
{
    using C = CComboUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"normalimage", [](C& c, const char* v) { c.StoreImage(c.m_normalImage, v); }},
        {"hotimage", [](C& c, const char* v) { c.StoreImage(c.m_hotImage, v); }},
        {"pushedimage", [](C& c, const char* v) { c.StoreImage(c.m_pushedImage, v); }},
        {"focusedimage", [](C& c, const char* v) { c.StoreImage(c.m_focusedImage, v); }},
        {"disabledimage", [](C& c, const char* v) { c.StoreImage(c.m_disabledImage, v); }},
        {"textpadding",
            [](C& c, const char* v) {
                c.m_textPadding = ParseRect(v);
                c.Invalidate();
            }},
        {"dropbox", [](C& c, const char* v) { c.m_dropBoxAttributes = v; }},
        {"dropboxsize", [](C& c, const char* v) { c.m_dropBoxSize = ParseSize(v); }},
    };
    return kTable;
}

void CComboUI::SetAttribute(const char* name, const char* value)
{
    const TItemStyleChange change = ApplyItemStyleAttribute(m_itemStyle, name, value);
    if (change != TItemStyleChange::NotStyle) {
        if (change != TItemStyleChange::Stored)
            Invalidate();
        return;
    }
    if (!OwnAttributes().Apply(*this, name, value))
        CContainerUI::SetAttribute(name, value);
}

void CComboUI::AppendAttributeNames(TAttributeNames& names)
{
    AppendItemStyleAttributeNames(names);
    OwnAttributes().AppendNames(names);
    CContainerUI::AppendAttributeNames(names);
}

void CComboUI::Paint(HDC hdc, const CRectUI& paintRect)
{
    // The rows are not painted inside the closed combo.
    CControlUI::Paint(hdc, paintRect);
}

void CComboUI::PaintStateImage(HDC hdc)
{
    m_buttonState &= ~(StateFocused | StateDisabled);
    m_buttonState |= (HasFocus() ? StateFocused : 0u) | (IsEnabled() ? 0u : StateDisabled);

    CUIString* state = nullptr;
    if ((m_buttonState & StateDisabled) != 0)
        state = &m_disabledImage;
    else if ((m_buttonState & StatePushed) != 0)
        state = &m_pushedImage;
    else if ((m_buttonState & StateHot) != 0)
        state = &m_hotImage;
    else if ((m_buttonState & StateFocused) != 0)
        state = &m_focusedImage;
    if (state != nullptr && DrawImageOrForget(hdc, *state))
        return;
    DrawImageOrForget(hdc, m_normalImage);
}

void CComboUI::PaintText(HDC hdc) { PaintSelection(hdc, 0); }

void CComboUI::PaintSelection(HDC hdc, int rightInset)
{
    CControlUI* selected = ChildAt(m_currentIndex);
    if (selected == nullptr)
        return;
    const CRectUI padding = Scaled(m_textPadding);
    CRectUI r(m_position.left + padding.left, m_position.top + padding.top,
        m_position.right - padding.right - rightInset, m_position.bottom - padding.bottom);
    if (IListItemUI* row = AsRow(selected))
        row->DrawItemText(hdc, r);
    else
        PaintControlAt(*selected, hdc, r);
}

}  // namespace SkinUI
