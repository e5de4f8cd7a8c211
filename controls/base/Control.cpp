#include "controls/base/Control.h"

#include <cstring>

#include "core/DpiScale.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"
#include "render/ClipScope.h"
#include "render/RenderKit.h"

namespace SkinUI {

namespace {

// A tooltip's width when the skin gives none (96-DPI units).
const int kDefaultTooltipWidth = 300;

}  // namespace

struct CControlUI::TRareFields {
    CUIString tooltip;
    CUIString userData;
    CUIString virtualWindow;
    CUIString accName;
    CUIString accDescription;
    CUIString accRole;
    CUIString bkImage;  // image attribute strings
    CUIString foreImage;
    TRelativePos relativePos = {false, CSizeUI(), 0, 0, 0, 0};
    UINT_PTR tag = 0;
    int tooltipWidth = kDefaultTooltipWidth;
    char shortcutKey = 0;
    bool wantsContextMenu = false;
};

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    if (DestroyListeners.HasListeners())
        DestroyListeners.Fire(this);
    if (m_host != nullptr)
        m_host->ForgetControl(this);
}

//--- identity and tree --------------------------------------------------------------------------

CUIString CControlUI::GetName() const { return m_name; }
void CControlUI::SetName(const char* name) { m_name = name; }
const char* CControlUI::GetTypeName() const { return "ControlUI"; }

void* CControlUI::CastTo(const char* name)
{
    if (name != nullptr && std::strcmp(name, kCastName) == 0)
        return this;
    return nullptr;
}

unsigned CControlUI::GetCapabilities() const { return 0; }

bool CControlUI::TriggerAction() { return IsVisible() && IsEnabled(); }

CWindowHostUI* CControlUI::GetHost() const { return m_host; }
int CControlUI::Scaled(int value) const { return m_host != nullptr ? m_host->Scaled(value) : value; }

bool CControlUI::TrackHotState(unsigned& state, int kind)
{
    if (!IsEnabled())
        return false;
    if (kind == InputEventKind::MouseEnter)
        state |= StateHot;
    else
        state &= ~StateHot;
    Invalidate();
    return true;
}

void CControlUI::AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow)
{
    m_host = host;
    m_parent = parent;
    // A control made flagged, or holding one that is, joins with its way marked for the host.
    if (m_parent != nullptr && NeedsLayoutHereOrBelow())
        MarkLayoutPath();
    // The root has no parent and is never initialised from here.
    if (initNow && m_parent != nullptr)
        Initialize();
}

CControlUI* CControlUI::GetParent() const { return m_parent; }

CUIString CControlUI::GetText() const { return m_text; }

void CControlUI::SetText(const char* text)
{
    if (m_text == text)
        return;
    m_text = text;
    NoteChangeToParent();
    Invalidate();
    AnnounceChange(EVENT_OBJECT_NAMECHANGE);
}

void CControlUI::AnnounceChange(unsigned winEvent)
{
    if (m_host != nullptr)
        m_host->AnnounceAccessibleChange(this, winEvent);
}

//--- position and size --------------------------------------------------------------------------

const CRectUI& CControlUI::GetPosition() const { return m_position; }

void CControlUI::SetPosition(const CRectUI& rect)
{
    CRectUI placed = rect;
    if (placed.right < placed.left)
        placed.right = placed.left;
    if (placed.bottom < placed.top)
        placed.bottom = placed.top;

    CRectUI dirty = m_position;
    if (dirty.IsEmpty())
        dirty = placed;
    m_position = placed;
    if (m_host == nullptr)
        return;

    if (!m_inResizeListeners && ResizeListeners.HasListeners()) {
        m_inResizeListeners = true;
        ResizeListeners.Fire(this);
        m_inResizeListeners = false;
    }

    // A floating control keeps the edge it was anchored to, so later parent resizes keep it there.
    if (m_floating && m_parent != nullptr)
        KeepFloatingPlace();

    m_needsLayout = false;
    dirty.Join(m_position);
    for (const CControlUI* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->GetParent()) {
        if (!dirty.Intersect(ancestor->GetPosition()))
            return;
    }
    if (m_host->GetPaintWindow() != nullptr)
        ::InvalidateRect(m_host->GetPaintWindow(), &dirty, FALSE);
}

void CControlUI::KeepFloatingPlace()
{
    const CRectUI& parentPos = m_parent->GetPosition();
    const int x = m_floatOffset.cx >= 0 ? m_position.left - parentPos.left : m_position.right - parentPos.right;
    const int y = m_floatOffset.cy >= 0 ? m_position.top - parentPos.top : m_position.bottom - parentPos.bottom;
    // The stored values are 96-DPI units: one that already gives this pixel stays as it is, so the
    // container's own placing never rounds them (and a later change of DPI starts from the skin's).
    KeepUnscaled(m_floatOffset.cx, x);
    KeepUnscaled(m_floatOffset.cy, y);
    KeepUnscaled(m_fixedSize.cx, m_position.GetWidth());
    KeepUnscaled(m_fixedSize.cy, m_position.GetHeight());
}

void CControlUI::KeepUnscaled(LONG& field, int pixels) const
{
    if (Scaled(field) != pixels)
        field = m_host != nullptr ? ScaleFromDpi(pixels, m_host->GetDpi()) : pixels;
}

int CControlUI::GetWidth() const { return m_position.right - m_position.left; }
int CControlUI::GetHeight() const { return m_position.bottom - m_position.top; }
int CControlUI::GetLeft() const { return m_position.left; }
int CControlUI::GetTop() const { return m_position.top; }
CRectUI CControlUI::GetPadding() const { return m_padding; }

void CControlUI::SetPadding(const CRectUI& padding)
{
    m_padding = padding;
    RequestParentLayout();
}

CSizeUI CControlUI::GetFloatOffset() const { return m_floatOffset; }

void CControlUI::SetFloatOffset(const CSizeUI& offset)
{
    m_floatOffset = offset;
    if (m_floating)
        RequestLayout();
    else
        RequestParentLayout();
}

int CControlUI::GetFixedWidth() const { return m_fixedSize.cx; }

void CControlUI::SetFixedWidth(int width)
{
    if (width < 0)
        return;
    m_fixedSize.cx = width;
    NoteChangeToParent();
    SetFloatOffset(m_floatOffset);
}

int CControlUI::GetFixedHeight() const { return m_fixedSize.cy; }

void CControlUI::SetFixedHeight(int height)
{
    if (height < 0)
        return;
    m_fixedSize.cy = height;
    NoteChangeToParent();
    SetFloatOffset(m_floatOffset);
}

namespace {

// The size limits ignore negative and unchanged values; true when the value was stored.
bool StoreLimit(int& field, int value)
{
    if (value < 0 || value == field)
        return false;
    field = value;
    return true;
}

}  // namespace

int CControlUI::GetMinWidth() const { return m_minWidth; }
void CControlUI::SetMinWidth(int width)
{
    if (StoreLimit(m_minWidth, width))
        SetFloatOffset(m_floatOffset);
}
int CControlUI::GetMaxWidth() const { return m_maxWidth; }
void CControlUI::SetMaxWidth(int width)
{
    if (StoreLimit(m_maxWidth, width))
        SetFloatOffset(m_floatOffset);
}
int CControlUI::GetMinHeight() const { return m_minHeight; }
void CControlUI::SetMinHeight(int height)
{
    if (StoreLimit(m_minHeight, height))
        SetFloatOffset(m_floatOffset);
}
int CControlUI::GetMaxHeight() const { return m_maxHeight; }
void CControlUI::SetMaxHeight(int height)
{
    if (StoreLimit(m_maxHeight, height))
        SetFloatOffset(m_floatOffset);
}

void CControlUI::SetRelativeRule(int moveX, int moveY, int zoomX, int zoomY)
{
    TRelativePos& rule = m_rare.Edit().relativePos;
    rule.Active = true;
    rule.MoveX = moveX;
    rule.MoveY = moveY;
    rule.ZoomX = zoomX;
    rule.ZoomY = zoomY;
}

void CControlUI::SetRelativeBaseSize(const CSizeUI& size) { m_rare.Edit().relativePos.BaseSize = size; }

TRelativePos CControlUI::GetRelativeRule() const { return m_rare.Get().relativePos; }

bool CControlUI::HasRelativeRule() const { return m_rare.Get().relativePos.Active; }

//--- texts and small properties -----------------------------------------------------------------

// Clearing a rare field that was never set makes no block for it.

CUIString CControlUI::GetTooltip() const { return m_rare.Get().tooltip; }

void CControlUI::SetTooltip(const char* text)
{
    if (!m_rare.IsMade() && (text == nullptr || *text == '\0'))
        return;
    CUIString& tooltip = m_rare.Edit().tooltip;
    tooltip = text;
    tooltip.Replace("<n>", "\r\n");
}

void CControlUI::SetTooltipWidth(int width)
{
    if (m_rare.IsMade() || width != kDefaultTooltipWidth)
        m_rare.Edit().tooltipWidth = width;
}

int CControlUI::GetTooltipWidth() const { return m_rare.Get().tooltipWidth; }
char CControlUI::GetShortcutKey() const { return m_rare.Get().shortcutKey; }

void CControlUI::SetShortcutKey(char key)
{
    if (m_rare.IsMade() || key != '\0')
        m_rare.Edit().shortcutKey = key;
}

bool CControlUI::WantsContextMenu() const { return m_rare.Get().wantsContextMenu; }

void CControlUI::SetWantsContextMenu(bool wants)
{
    if (m_rare.IsMade() || wants)
        m_rare.Edit().wantsContextMenu = wants;
}

const CUIString& CControlUI::GetUserData() const { return m_rare.Get().userData; }

void CControlUI::SetUserData(const char* text)
{
    if (m_rare.IsMade() || (text != nullptr && *text != '\0'))
        m_rare.Edit().userData = text;
}

UINT_PTR CControlUI::GetTag() const { return m_rare.Get().tag; }

void CControlUI::SetTag(UINT_PTR tag)
{
    if (m_rare.IsMade() || tag != 0)
        m_rare.Edit().tag = tag;
}

const CUIString& CControlUI::GetAccessibleName() const { return m_rare.Get().accName; }

const CUIString& CControlUI::GetAccessibleDescription() const { return m_rare.Get().accDescription; }

const CUIString& CControlUI::GetAccessibleRole() const { return m_rare.Get().accRole; }

void CControlUI::SetAccessibleName(const char* text)
{
    if (GetAccessibleName() == text)
        return;
    m_rare.Edit().accName = text;
    AnnounceChange(EVENT_OBJECT_NAMECHANGE);
}

void CControlUI::SetAccessibleDescription(const char* text)
{
    if (GetAccessibleDescription() == text)
        return;
    m_rare.Edit().accDescription = text;
    AnnounceChange(EVENT_OBJECT_DESCRIPTIONCHANGE);
}

void CControlUI::SetAccessibleRole(const char* text)
{
    if (m_rare.IsMade() || (text != nullptr && *text != '\0'))
        m_rare.Edit().accRole = text;
}

void CControlUI::SetVirtualWindow(const char* name)
{
    if (!m_rare.IsMade() && (name == nullptr || *name == '\0'))
        return;
    m_rare.Edit().virtualWindow = name;
    if (m_host != nullptr)
        m_host->SetUsesVirtualWindows();
}

//--- visibility, enabling, focus ----------------------------------------------------------------

bool CControlUI::IsVisible() const { return m_visible && m_visibleByParent; }

void CControlUI::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    const bool wasVisible = IsVisible();
    m_visible = visible;
    m_focused = false;
    if (!visible && m_host != nullptr && m_host->GetFocusControl() == this)
        m_host->SetFocusControl(nullptr);
    if (IsVisible() != wasVisible) {
        RequestParentLayout();
        AnnounceChange(visible ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
    }
    if (!IsVisible() && m_host != nullptr)
        m_host->ReleaseMouseFor(this);
}

void CControlUI::SetVisibleByParent(bool visible)
{
    m_visibleByParent = visible;
    if (!visible && m_host != nullptr && m_host->GetFocusControl() == this)
        m_host->SetFocusControl(nullptr);
    if (!visible && m_host != nullptr)
        m_host->ReleaseMouseFor(this);
}

bool CControlUI::IsEnabled() const { return m_enabled; }

void CControlUI::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Invalidate();
    if (!enabled && m_host != nullptr)
        m_host->ReleaseMouseFor(this);
    AnnounceChange(EVENT_OBJECT_STATECHANGE);
}

bool CControlUI::AcceptsMouse() const { return m_acceptsMouse; }
void CControlUI::SetAcceptsMouse(bool accepts) { m_acceptsMouse = accepts; }
bool CControlUI::AcceptsKeyboard() const { return m_acceptsKeyboard; }
void CControlUI::SetAcceptsKeyboard(bool accepts) { m_acceptsKeyboard = accepts; }
bool CControlUI::HasFocus() const { return m_focused; }

void CControlUI::TakeFocus()
{
    if (m_host != nullptr)
        m_host->SetFocusControl(this);
}

bool CControlUI::IsFloating() const { return m_floating; }

void CControlUI::SetFloating(bool floating)
{
    if (floating == m_floating)
        return;
    m_floating = floating;
    RequestParentLayout();
}

//--- search, initialisation, events -------------------------------------------------------------

CControlUI* CControlUI::FindControl(FindVisitor visitor, void* data, unsigned flags)
{
    if ((flags & FindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((flags & FindEnabled) != 0 && !IsEnabled())
        return nullptr;
    if ((flags & FindHitTest) != 0) {
        if (!m_acceptsMouse || data == nullptr || !m_position.Contains(*static_cast<const POINT*>(data)))
            return nullptr;
    }
    return visitor(this, data);
}

void CControlUI::Initialize()
{
    OnInitialize();
    if (InitListeners.HasListeners())
        InitListeners.Fire(this);
}

void CControlUI::OnInitialize() { }

void CControlUI::DispatchEvent(TInputEvent& event)
{
    // An event listener may destroy this control.
    CControlAliveGuard alive(m_host, this);
    if (EventListeners.Fire(&event) && alive.IsAlive())
        OnEvent(event);
}

void CControlUI::OnEvent(TInputEvent& event)
{
    switch (event.Type) {
    case InputEventKind::SetCursor:
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        return;
    case InputEventKind::FocusGained:
        m_focused = true;
        Invalidate();
        return;
    case InputEventKind::FocusLost:
        m_focused = false;
        Invalidate();
        return;
    case InputEventKind::Timer:
        if (m_host != nullptr)
            m_host->SendNotification(this, "timer", event.WParam, event.LParam);
        return;
    case InputEventKind::ContextMenu:
        if (WantsContextMenu()) {
            if (m_host != nullptr)
                m_host->SendNotification(this, "menu", event.WParam, event.LParam);
            return;
        }
        break;
    default:
        break;
    }
    // Unhandled kinds bubble up without firing the parent's EventListeners.
    if (m_parent != nullptr)
        m_parent->OnEvent(event);
}

//--- attributes ---------------------------------------------------------------------------------

void CControlUI::ApplyAttributeText(const char* list)
{
    if (list == nullptr)
        return;
    const char* p = list;
    CUIString name;
    CUIString value;
    while (*p != '\0') {
        const char* start = p;
        while (*p != '\0' && *p != '=')
            p = ::CharNextA(p);
        name.Assign(start, static_cast<int>(p - start));
        if (p[0] != '=' || p[1] != '"')
            return;
        p += 2;
        start = p;
        while (*p != '\0' && *p != '"')
            p = ::CharNextA(p);
        if (*p == '\0')
            return;
        value.Assign(start, static_cast<int>(p - start));
        SetAttribute(name, value);
        // Exactly one blank separates pairs; anything else ends the list.
        if (p[1] != ' ' || p[2] == '\0')
            return;
        p += 2;
    }
}

CSizeUI CControlUI::MeasureSize(CSizeUI) { return Scaled(m_fixedSize); }

//--- invalidation and layout requests -----------------------------------------------------------

void CControlUI::Invalidate()
{
    if (!IsVisible())
        return;
    CRectUI dirty = m_position;
    for (const CControlUI* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->GetParent()) {
        if (!dirty.Intersect(ancestor->GetPosition()))
            return;
    }
    if (m_host != nullptr && m_host->GetPaintWindow() != nullptr)
        ::InvalidateRect(m_host->GetPaintWindow(), &dirty, FALSE);
}

void CControlUI::RequestLayout()
{
    if (!IsVisible())
        return;
    // Flagged already: the layout to come invalidates what it places, so asking again (a list
    // filled or emptied row by row) need not invalidate again.
    if (!m_needsLayout) {
        m_needsLayout = true;
        Invalidate();
    }
    if (m_host == nullptr)
        return;
    // A control the host cannot reach by marks from its root (a scroll bar made for a container
    // already shown has no parent) is found by one search of the whole tree.
    if (!MarkLayoutPath())
        m_host->SearchWholeTreeForLayout();
    m_host->SetLayoutPending();
}

bool CControlUI::MarkLayoutPath()
{
    CControlUI* top = this;
    for (; top->m_parent != nullptr; top = top->m_parent) {
        if (top->m_parent->m_layoutBelow)
            return true;
        top->m_parent->m_layoutBelow = true;
    }
    return m_host == nullptr || top == m_host->GetRoot();
}

void CControlUI::NoteChangeToParent()
{
    if (m_parent != nullptr)
        m_parent->OnChildChanged(this);
}

void CControlUI::RequestParentLayout()
{
    // The parent repaints when it is flagged; once flagged, its layout repaints what it places,
    // so a thousand rows shown one by one ask the window for one repaint, not a thousand.
    if (m_parent != nullptr)
        m_parent->RequestLayout();
    else
        RequestLayout();
    if (m_host != nullptr)
        m_host->SetLayoutPending();
    NoteChangeToParent();
}

//--- appearance setters -------------------------------------------------------------------------

void CControlUI::SetBackgroundColor(uint32_t argb)
{
    if (argb == m_bkColor1)
        return;
    m_bkColor1 = argb;
    Invalidate();
}

const CUIString& CControlUI::GetBackgroundImage() const { return m_rare.Get().bkImage; }

const CUIString& CControlUI::GetForeImage() const { return m_rare.Get().foreImage; }

void CControlUI::SetBackgroundImage(const char* imageText)
{
    if (GetBackgroundImage() == imageText)
        return;
    m_rare.Edit().bkImage = imageText;
    Invalidate();
}

void CControlUI::KeepBackgroundImage(const char* imageText)
{
    if (GetBackgroundImage() != imageText)
        m_rare.Edit().bkImage = imageText;
}

void CControlUI::SetForeImage(const char* imageText)
{
    if (GetForeImage() == imageText)
        return;
    m_rare.Edit().foreImage = imageText;
    Invalidate();
}

void CControlUI::SetBorderColor(uint32_t argb)
{
    if (argb == m_borderColor)
        return;
    m_borderColor = argb;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(uint32_t argb)
{
    if (argb == m_focusBorderColor)
        return;
    m_focusBorderColor = argb;
    Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    if (size == m_borderSize)
        return;
    m_borderSize = size;
    Invalidate();
}

void CControlUI::SetBorderRound(const CSizeUI& corner)
{
    m_borderRound = corner;
    Invalidate();
}

CUIString CControlUI::GetVirtualWindowName() const
{
    for (const CControlUI* c = this; c != nullptr; c = c->m_parent) {
        if (!c->m_rare.Get().virtualWindow.IsEmpty())
            return c->m_rare.Get().virtualWindow;
    }
    return CUIString();
}

//--- painting -----------------------------------------------------------------------------------

uint32_t CControlUI::AdjustColor(uint32_t argb) const
{
    return m_colorHsl ? CRenderKit::ShiftColorHsl(argb, 180, 100, 100) : argb;
}

bool CControlUI::DrawSkinImage(HDC hdc, const char* imageText, const char* modifier)
{
    if (m_host == nullptr || hdc == nullptr)
        return false;
    return CRenderKit::PaintImageSpec(hdc, m_host, m_position, m_paintRect, imageText, modifier);
}

bool CControlUI::DrawImageOrForget(HDC hdc, CUIString& image, const char* modifier)
{
    if (image.IsEmpty())
        return false;
    if (DrawSkinImage(hdc, image, modifier))
        return true;
    image.Clear();
    return false;
}

void CControlUI::Paint(HDC hdc, const CRectUI& paintRect)
{
    m_paintRect = paintRect;
    if (!m_paintRect.Intersect(m_position))
        return;
    CClipScope roundClip;
    const CSizeUI round = Scaled(m_borderRound);
    if (round.cx > 0 || round.cy > 0)
        CClipScope::NarrowToRoundRect(hdc, m_paintRect, m_position, round.cx, round.cy, roundClip);
    PaintBackgroundColor(hdc);
    PaintBackgroundImage(hdc);
    PaintStateImage(hdc);
    PaintText(hdc);
    PaintBorder(hdc);
}

void CControlUI::PaintBackgroundColor(HDC hdc)
{
    if (m_bkColor1 == 0)
        return;
    if (m_bkColor2 != 0 && m_bkColor3 != 0) {
        const LONG mid = (m_position.top + m_position.bottom) / 2;
        const CRectUI upper(m_position.left, m_position.top, m_position.right, mid);
        const CRectUI lower(m_position.left, mid, m_position.right, m_position.bottom);
        CRenderKit::FillGradient(hdc, upper, AdjustColor(m_bkColor1), AdjustColor(m_bkColor2), 8);
        CRenderKit::FillGradient(hdc, lower, AdjustColor(m_bkColor2), AdjustColor(m_bkColor3), 8);
    } else if (m_bkColor2 != 0) {
        CRenderKit::FillGradient(hdc, m_position, AdjustColor(m_bkColor1), AdjustColor(m_bkColor2), 16);
    } else {
        // A translucent colour is blended over the whole position so partial repaints match.
        const CRectUI& area = m_bkColor1 >= 0xFF000000u ? m_paintRect : m_position;
        CRenderKit::FillColor(hdc, area, AdjustColor(m_bkColor1));
    }
}

void CControlUI::PaintBackgroundImage(HDC hdc) { DrawImageOrForget(hdc, m_rare, &TRareFields::bkImage); }

bool CControlUI::DrawForeImage(HDC hdc, const char* modifier)
{
    return DrawImageOrForget(hdc, m_rare, &TRareFields::foreImage, modifier);
}

void CControlUI::PaintStateImage(HDC) { }

void CControlUI::PaintText(HDC) { }

void CControlUI::PaintBorder(HDC hdc)
{
    if (m_borderColor == 0 && m_focusBorderColor == 0)
        return;
    const bool focusColored = HasFocus() && m_focusBorderColor != 0;
    const int size = Scaled(m_borderSize);
    const CSizeUI round = Scaled(m_borderRound);
    if (size > 0 && (round.cx > 0 || round.cy > 0)) {
        const uint32_t color = focusColored ? m_focusBorderColor : m_borderColor;
        CRenderKit::StrokeRoundRect(hdc, m_position, size, round.cx, round.cy, AdjustColor(color));
        return;
    }
    if (focusColored && size > 0) {
        CRenderKit::StrokeRect(hdc, m_position, size, AdjustColor(m_focusBorderColor));
        return;
    }
    const CRectUI sides = Scaled(CRectUI(m_leftBorderSize, m_topBorderSize, m_rightBorderSize, m_bottomBorderSize));
    if (sides.left > 0 || sides.top > 0 || sides.right > 0 || sides.bottom > 0) {
        const uint32_t color = AdjustColor(m_borderColor);
        const CRectUI& p = m_position;
        if (sides.left > 0)
            CRenderKit::StrokeLine(hdc, CRectUI(p.left, p.top, p.left, p.bottom), sides.left, color, m_borderStyle);
        if (sides.top > 0)
            CRenderKit::StrokeLine(hdc, CRectUI(p.left, p.top, p.right, p.top), sides.top, color, m_borderStyle);
        if (sides.right > 0)
            CRenderKit::StrokeLine(hdc, CRectUI(p.right, p.top, p.right, p.bottom), sides.right, color, m_borderStyle);
        if (sides.bottom > 0)
            CRenderKit::StrokeLine(
                hdc, CRectUI(p.left, p.bottom, p.right, p.bottom), sides.bottom, color, m_borderStyle);
        return;
    }
    if (size > 0)
        CRenderKit::StrokeRect(hdc, m_position, size, AdjustColor(m_borderColor));
}

void CControlUI::PaintOverlay(HDC, const CRectUI&) { }

}  // namespace SkinUI
