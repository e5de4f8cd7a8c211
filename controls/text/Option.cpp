#include "controls/text/Option.h"

#include "controls/base/CastChain.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

COptionUI::COptionUI() = default;

COptionUI::~COptionUI()
{
    // The host's group list must never hold a dead option.
    if (m_groupHost)
        m_groupHost->RemoveOptionFromGroup(GetGroup(), this);
}

const char* COptionUI::GetTypeName() const { return "OptionUI"; }

void* COptionUI::CastTo(const char* name) { return CastToSelfOrBase<CButtonUI>(this, name); }

void COptionUI::AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow)
{
    // Moving to another host (or none) leaves the old host's group.
    if (m_groupHost && m_groupHost != host) {
        m_groupHost->RemoveOptionFromGroup(GetGroup(), this);
        m_groupHost = nullptr;
    }
    CButtonUI::AttachHost(host, parent, initNow);
    if (initNow && IsGrouped() && m_host && !m_groupHost) {
        m_host->AddOptionToGroup(GetGroup(), this);
        m_groupHost = m_host;
    }
}

void COptionUI::SetGroup(const char* name)
{
    CUIString newName(name);
    if (newName == GetGroup())
        return;
    if (m_groupHost) {
        m_groupHost->RemoveOptionFromGroup(GetGroup(), this);
        m_groupHost = nullptr;
    }
    m_fields.Edit().groupName = newName;
    if (IsGrouped() && m_host) {
        m_host->AddOptionToGroup(GetGroup(), this);
        m_groupHost = m_host;
    }
}

void COptionUI::SetSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    if (selected)
        m_buttonState |= StateSelected;
    else
        m_buttonState &= ~StateSelected;
    // "selectchanged" listeners may destroy this option; it repaints only if it survived.
    CControlAliveGuard alive(m_host, this);
    if (m_host) {
        if (!IsGrouped()) {
            m_host->SendNotification(this, "selectchanged");
        } else if (selected) {
            // A copy: a listener or an override may change the group while we walk it.
            const CPtrVectorUI* group = m_host->GetOptionGroup(GetGroup());
            CPtrVectorUI members = group ? *group : CPtrVectorUI();
            for (int i = 0; i < members.GetSize(); ++i) {
                CControlUI* member = static_cast<CControlUI*>(members.GetAt(i));
                COptionUI* option = ControlCast<COptionUI>(member);
                if (option && option != this)
                    option->SetSelected(false);
            }
            m_host->SendNotification(this, "selectchanged");
        }
    }
    if (!alive.IsAlive())
        return;
    Invalidate();
    AnnounceChange(EVENT_OBJECT_STATECHANGE);
}

void COptionUI::OnEvent(TInputEvent& event)
{
    if (event.Type == InputEventKind::KeyDown && IsGrouped() && IsEnabled() && AcceptsKeyboard()) {
        switch (static_cast<unsigned char>(event.KeyChar)) {
        case VK_LEFT:
        case VK_UP:
            MoveInGroup(-1);
            return;
        case VK_RIGHT:
        case VK_DOWN:
            MoveInGroup(1);
            return;
        default:
            break;
        }
    }
    CButtonUI::OnEvent(event);
}

void COptionUI::MoveInGroup(int step)
{
    CWindowHostUI* host = m_host;
    const CPtrVectorUI* group = host != nullptr ? host->GetOptionGroup(GetGroup()) : nullptr;
    if (group == nullptr)
        return;
    const int count = group->GetSize();
    const int at = group->Find(this);
    for (int i = 1; i < count; ++i) {
        CControlUI* member = static_cast<CControlUI*>(group->GetAt(((at + step * i) % count + count) % count));
        if (member == nullptr || !member->IsVisible() || !member->IsEnabled())
            continue;
        // From here on this option may be gone: only the host and the member's guard are used.
        CControlAliveGuard alive(host, member);
        host->SetFocusControl(member);
        if (alive.IsAlive())
            member->TriggerAction();
        return;
    }
}

bool COptionUI::TriggerAction()
{
    // A "click" listener may destroy the option; the answer stays true, the click was sent.
    CControlAliveGuard alive(m_host, this);
    if (!CButtonUI::TriggerAction())
        return false;
    if (!alive.IsAlive())
        return true;
    if (IsGrouped())
        SetSelected(true);
    else
        SetSelected(!m_selected);
    return true;
}

void COptionUI::SetEnabled(bool enabled)
{
    CButtonUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = m_selected ? StateSelected : 0u;
}

CAttributeTable<COptionUI> COptionUI::OwnAttributes()
{
    using C = COptionUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"group", [](C& c, const char* v) { c.SetGroup(v); }},
        {"selected", [](C& c, const char* v) { c.SetSelected(ParseFlag(v)); }},
        {"selectedimage", [](C& c, const char* v) { c.SetSelectedImage(v); }},
        {"selectedhotimage", [](C& c, const char* v) { c.SetSelectedHotImage(v); }},
        {"foreimage", [](C& c, const char* v) { c.SetOptionForeImage(v); }},
        {"selectedbkcolor", [](C& c, const char* v) { c.SetSelectedBkColor(ParseColor(v)); }},
        {"selectedtextcolor", [](C& c, const char* v) { c.SetSelectedTextColor(ParseColor(v)); }},
    };
    return kTable;
}

void COptionUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CButtonUI>(*this, name, value);
}

void COptionUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CButtonUI>(names); }

void COptionUI::PaintStateImage(HDC hdc)
{
    // An option never shows a pushed image.
    m_buttonState &= ~StatePushed;
    const TSelectionFields& fields = m_fields.Get();
    if ((m_buttonState & StateHot) && m_selected && !fields.selectedHotImage.IsEmpty()) {
        if (!DrawImageOrForget(hdc, m_fields, &TSelectionFields::selectedHotImage))
            CButtonUI::PaintStateImage(hdc);
    } else if (m_buttonState & StateSelected) {
        if (!fields.selectedImage.IsEmpty()) {
            if (!DrawImageOrForget(hdc, m_fields, &TSelectionFields::selectedImage))
                CButtonUI::PaintStateImage(hdc);
        } else if (fields.selectedBkColor != 0) {
            CRenderKit::FillColor(hdc, m_paintRect, AdjustedColor(fields.selectedBkColor));
            return;
        } else {
            CButtonUI::PaintStateImage(hdc);
        }
    } else {
        CButtonUI::PaintStateImage(hdc);
    }
    DrawImageOrForget(hdc, m_fields, &TSelectionFields::optionForeImage);
}

void COptionUI::PaintText(HDC hdc)
{
    if (!m_selected) {
        CButtonUI::PaintText(hdc);
        return;
    }
    RefreshFocusAndDisabled();
    ResolveDefaultColors();
    DWORD color;
    if (!IsEnabled())
        color = m_disabledTextColor;
    else
        color = GetSelectedTextColor() != 0 ? GetSelectedTextColor() : m_textColor;
    PaintTextInColor(hdc, color);
}

}  // namespace SkinUI
