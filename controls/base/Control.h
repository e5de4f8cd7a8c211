// CControlUI: the windowless control every skinned element derives from.
//
// A control owns a rectangle (`m_position`) in the client coordinates of one host window; the host
// (CWindowHostUI) routes input to it, paints it and keeps its name. Right and bottom edges are
// exclusive, as everywhere in the framework. A control is owned by its parent container, or by the
// host when it is the root; the host keeps plain pointers (focus, hover, capture, key target,
// timers, name table) and drops them in ForgetControl, which the destructor calls.
//
// Units: the position, the paint rectangle and event points are device pixels of the host window.
// Everything else given to or read from a control in pixels (fixed, minimum and maximum sizes,
// paddings, float offsets, border sizes and corners) is in 96-DPI units, as the skin gives it; the
// layout and painting read those through the Scaled helpers, which answer device pixels at the
// host's DPI, so a change of DPI lays out again exactly.
//
// Layout is lazy: setters only flag `m_needsLayout` and the host's layout-pending state; the host
// lays out at the next WM_PAINT through SetPosition. Painting runs PaintBackgroundColor,
// PaintBackgroundImage, PaintStateImage, PaintText and PaintBorder in that order; subclasses
// override those narrow hooks. Events arrive through DispatchEvent (EventListeners first, then
// OnEvent); unhandled kinds bubble to the parent's OnEvent.
//
// Virtual operations are declared in their slot order; derived classes append their own after
// PaintOverlay.
//
// Implemented in Control.cpp (state, layout, painting, events) and ControlAttributes.cpp (the
// attribute table and SetAttribute).
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/AttributeTable.h"
#include "core/Delegate.h"
#include "core/Geometry.h"
#include "core/RareBlock.h"
#include "core/UIString.h"
#include "host/Events.h"

namespace SkinUI {

class CWindowHostUI;
class CControlUI;

// FindControl visitor: answers the control to stop the search with, or null to go on.
typedef CControlUI* (*FindVisitor)(CControlUI* control, void* data);

// FindControl flags (fixed bit values; the host combines them).
enum : unsigned {
    FindVisible = 0x00000001u,  // invisible controls yield null
    FindEnabled = 0x00000002u,  // disabled controls yield null
    FindHitTest = 0x00000004u,  // data points at a POINT; only mouse-accepting controls containing it
    FindTopFirst = 0x00000008u,  // containers visit children last to first
    // Containers go down only to children that need layout or lead to one (HasLayoutBelow), and
    // forget the mark when they find every child clean: the host's search for flagged controls.
    FindLayoutPath = 0x00000010u,
    FindMeFirst = 0x80000000u,  // containers offer themselves before their children
};

// GetCapabilities bits.
enum : unsigned {
    CapabilityTabStop = 0x1u,
    CapabilityWantsCursor = 0x2u,
};

// State bits shared by buttons, options, scroll bars, sliders, list rows and separators.
enum : unsigned {
    StateFocused = 0x01u,
    StateSelected = 0x02u,
    StateDisabled = 0x04u,
    StateHot = 0x08u,
    StatePushed = 0x10u,
    StateCaptured = 0x40u,
};

// A floating control's rule for following its container's size (applied by containers).
struct TRelativePos {
    bool Active;
    CSizeUI BaseSize;  // the container size the rule was last applied against
    int MoveX;  // percentages
    int MoveY;
    int ZoomX;
    int ZoomY;
};

class CControlUI {
public:
    static constexpr const char* kCastName = "Control";

    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual ~CControlUI();
    virtual CUIString GetName() const;
    virtual void SetName(const char* name);
    virtual const char* GetTypeName() const;
    virtual void* CastTo(const char* name);
    virtual unsigned GetCapabilities() const;
    virtual bool TriggerAction();
    virtual CWindowHostUI* GetHost() const;
    virtual void AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow);
    virtual CControlUI* GetParent() const;
    virtual CUIString GetText() const;
    virtual void SetText(const char* text);
    virtual const CRectUI& GetPosition() const;
    virtual void SetPosition(const CRectUI& rect);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetLeft() const;
    virtual int GetTop() const;
    virtual CRectUI GetPadding() const;
    virtual void SetPadding(const CRectUI& padding);
    virtual CSizeUI GetFloatOffset() const;
    virtual void SetFloatOffset(const CSizeUI& offset);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int width);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int height);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int width);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int width);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int height);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int height);
    virtual void SetRelativeRule(int moveX, int moveY, int zoomX, int zoomY);
    virtual void SetRelativeBaseSize(const CSizeUI& size);
    virtual TRelativePos GetRelativeRule() const;
    virtual bool HasRelativeRule() const;
    virtual CUIString GetTooltip() const;
    virtual void SetTooltip(const char* text);
    virtual void SetTooltipWidth(int width);
    virtual int GetTooltipWidth() const;
    virtual char GetShortcutKey() const;
    virtual void SetShortcutKey(char key);
    virtual bool WantsContextMenu() const;
    virtual void SetWantsContextMenu(bool wants);
    virtual const CUIString& GetUserData() const;
    virtual void SetUserData(const char* text);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR tag);
    virtual bool IsVisible() const;
    // The control's own "visible" flag, whatever its ancestors' say.
    bool IsOwnVisible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    virtual void SetVisibleByParent(bool visible);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled);
    virtual bool AcceptsMouse() const;
    virtual void SetAcceptsMouse(bool accepts);
    virtual bool AcceptsKeyboard() const;
    virtual void SetAcceptsKeyboard(bool accepts);
    virtual bool HasFocus() const;
    virtual void TakeFocus();
    virtual bool IsFloating() const;
    virtual void SetFloating(bool floating);
    virtual CControlUI* FindControl(FindVisitor visitor, void* data, unsigned flags);
    virtual void Initialize();
    virtual void OnInitialize();
    virtual void DispatchEvent(TInputEvent& event);
    virtual void OnEvent(TInputEvent& event);
    virtual void SetAttribute(const char* name, const char* value);
    virtual CSizeUI MeasureSize(CSizeUI available);
    virtual void Paint(HDC hdc, const CRectUI& paintRect);
    virtual void PaintBackgroundColor(HDC hdc);
    virtual void PaintBackgroundImage(HDC hdc);
    virtual void PaintStateImage(HDC hdc);
    virtual void PaintText(HDC hdc);
    virtual void PaintBorder(HDC hdc);
    virtual void PaintOverlay(HDC hdc, const CRectUI& paintRect);

    // What a parent's layout reads: the getters above in device pixels of the host window.
    CRectUI ScaledPadding() const { return Scaled(GetPadding()); }
    CSizeUI ScaledFloatOffset() const { return Scaled(GetFloatOffset()); }
    int ScaledFixedWidth() const { return Scaled(GetFixedWidth()); }
    int ScaledFixedHeight() const { return Scaled(GetFixedHeight()); }
    int ScaledMinWidth() const { return Scaled(GetMinWidth()); }
    int ScaledMaxWidth() const { return Scaled(GetMaxWidth()); }
    int ScaledMinHeight() const { return Scaled(GetMinHeight()); }
    int ScaledMaxHeight() const { return Scaled(GetMaxHeight()); }
    // 96-DPI units to device pixels of the host window (unchanged without a host).
    int Scaled(int value) const;
    CSizeUI Scaled(const SIZE& size) const { return CSizeUI(Scaled(size.cx), Scaled(size.cy)); }
    CRectUI Scaled(const RECT& rect) const
    {
        return CRectUI(Scaled(rect.left), Scaled(rect.top), Scaled(rect.right), Scaled(rect.bottom));
    }

    // Repaints the position, clipped to every ancestor; nothing while hidden or detached.
    void Invalidate();
    void RequestLayout();
    void RequestParentLayout();
    bool NeedsLayout() const { return m_needsLayout; }
    // A control below this one asked for a layout, and no search for flagged controls has found
    // the way clean since.
    bool HasLayoutBelow() const { return m_layoutBelow; }
    bool NeedsLayoutHereOrBelow() const { return m_needsLayout || m_layoutBelow; }
    // A child's measured size may differ now (its text or fixed size changed, or it asked for a
    // layout). A parent that keeps its children's sizes between layouts measures that child again
    // at the next one; a container passes the news on, as its own size may follow its child's.
    virtual void OnChildChanged(CControlUI* /*child*/) { }

    void SetBackgroundColor(uint32_t argb);
    uint32_t GetBackgroundColor() const { return m_bkColor1; }
    void SetBackgroundImage(const char* imageText);
    const CUIString& GetBackgroundImage() const;
    const CUIString& GetForeImage() const;
    void SetForeImage(const char* imageText);
    uint32_t GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(uint32_t argb);
    uint32_t GetFocusBorderColor() const { return m_focusBorderColor; }
    void SetFocusBorderColor(uint32_t argb);
    int GetBorderSize() const { return m_borderSize; }
    void SetBorderSize(int size);
    CSizeUI GetBorderRound() const { return m_borderRound; }
    void SetBorderRound(const CSizeUI& corner);
    bool IsColorAdjusted() const { return m_colorHsl; }

    // Draws an image attribute string over the position, limited to the current paint rectangle.
    // False only when there is no host or no device context.
    bool DrawSkinImage(HDC hdc, const char* imageText, const char* modifier = nullptr);
    // Draws `image` when not empty. Failure means no host or DC, not a missing file: an image that
    // fails is emptied, so it is not tried again. True when drawn.
    bool DrawImageOrForget(HDC hdc, CUIString& image, const char* modifier = nullptr);
    // The same for an image kept in a block of rarely set fields; false without the block.
    template <class T>
    bool DrawImageOrForget(HDC hdc, CRareBlockUI<T>& block, CUIString T::*image, const char* modifier = nullptr)
    {
        return block.IsMade() && DrawImageOrForget(hdc, block.Edit().*image, modifier);
    }
    // Own virtual window name, else the nearest ancestor's, else empty.
    CUIString GetVirtualWindowName() const;
    // What assistive technology reads for the control when its text does not say it ("accname",
    // "accdescription") and the role a skin gives it over its class's own ("accrole").
    const CUIString& GetAccessibleName() const;
    const CUIString& GetAccessibleDescription() const;
    const CUIString& GetAccessibleRole() const;
    // Applies a name="value" name="value" list through SetAttribute (values cannot hold quotes).
    void ApplyAttributeText(const char* list);
    // Every attribute name SetAttribute acts on, the class's own first, then its bases'. Each class
    // with attributes of its own hides this with its own version; the others inherit their base's.
    static void AppendAttributeNames(TAttributeNames& names);

    // Listener lists. Each is fired with this control (Event: the TInputEvent, Notify: the
    // TNotifyEvent) and owns the delegate copies added to it.
    CEventSourceUI InitListeners;
    CEventSourceUI DestroyListeners;
    CEventSourceUI ResizeListeners;
    CEventSourceUI EventListeners;  // a false answer keeps the event from OnEvent
    CEventSourceUI NotifyListeners;

protected:
    // Tells the parent, through OnChildChanged, that this control may measure differently now.
    void NoteChangeToParent();
    // Marks every ancestor as leading to a control that needs layout, up to one marked already.
    // Answers false when the walk ended at a control that is not the host's root.
    bool MarkLayoutPath();
    // Every colour the base paints passes through here ("colorhsl").
    uint32_t AdjustColor(uint32_t argb) const;
    // The hover look of controls that keep state bits: MouseEnter sets StateHot in `state`,
    // MouseLeave clears it (`kind` is an InputEventKind value), and the control repaints. False,
    // changing nothing, while disabled.
    bool TrackHotState(unsigned& state, int kind);
    // Tells assistive technology that something it reads changed (a WinEvent id). Call it last:
    // a listener in the process may destroy the control.
    void AnnounceChange(unsigned winEvent);
    // An image attribute: the string is kept as written and the control repaints.
    void StoreImage(CUIString& field, const char* imageText);
    // Draws the fore image, when there is one, with an optional modifier; an image that fails to
    // draw is emptied, so it is not tried again. True when drawn.
    bool DrawForeImage(HDC hdc, const char* modifier = nullptr);
    // Stores the background image without repainting, for a caller that repaints at once.
    void KeepBackgroundImage(const char* imageText);

    CWindowHostUI* m_host = nullptr;  // not owned
    CControlUI* m_parent = nullptr;  // not owned
    CUIString m_name;
    bool m_needsLayout = true;
    bool m_layoutBelow = false;  // see HasLayoutBelow; cleared by the host's search
    CRectUI m_position;  // client coordinates of the host window
    CRectUI m_padding;  // outer margins used by the parent's layout
    CSizeUI m_floatOffset;  // negative components count from the parent's right/bottom
    CSizeUI m_fixedSize;  // 0 = the parent decides
    int m_minWidth = 0;
    int m_minHeight = 0;
    int m_maxWidth = 9999;
    int m_maxHeight = 9999;
    bool m_visible = true;
    bool m_visibleByParent = true;
    bool m_enabled = true;
    bool m_acceptsMouse = true;
    bool m_acceptsKeyboard = true;
    bool m_focused = false;
    bool m_floating = false;
    bool m_inResizeListeners = false;  // keeps a listener's own SetPosition from re-firing them
    CUIString m_text;
    uint32_t m_bkColor1 = 0;
    uint32_t m_bkColor2 = 0;
    uint32_t m_bkColor3 = 0;
    uint32_t m_borderColor = 0;
    uint32_t m_focusBorderColor = 0;
    bool m_colorHsl = false;
    int m_borderSize = 0;
    int m_borderStyle = 0;  // GDI pen style of the per-side borders
    CSizeUI m_borderRound;
    CRectUI m_paintRect;  // current paint request clipped to the position
    int m_leftBorderSize = 0;
    int m_topBorderSize = 0;
    int m_rightBorderSize = 0;
    int m_bottomBorderSize = 0;

private:
    // What few controls are given (a tooltip, user data, a virtual window, what screen readers
    // read, a relative rule, a tag, background and fore images): one block made at the first
    // write, so that the many controls of a long list or tree without them stay small. Getters
    // answer the defaults without it.
    struct TRareFields;
    CRareBlockUI<TRareFields> m_rare;
    // "accname" and "accdescription" are announced when they change.
    void SetAccessibleName(const char* text);
    void SetAccessibleDescription(const char* text);
    void SetAccessibleRole(const char* text);
    void SetVirtualWindow(const char* name);

    static CAttributeTable<CControlUI> OwnAttributes();
    // A floating control placed at m_position keeps that place as its float offset and fixed size.
    void KeepFloatingPlace();
    // Stores pixels in 96-DPI units unless the field already scales to them.
    void KeepUnscaled(LONG& field, int pixels) const;
};

// ControlCast<T>: the checked downcast of a control to a control class or a control interface, null
// for null or a control of another kind. T names its cast name once (`kCastName`) and answers it in
// its own CastTo; T declares the name itself, since one inherited from a base names the base.
template <class T> T* ControlCast(CControlUI* control)
{
    return control != nullptr ? static_cast<T*>(control->CastTo(T::kCastName)) : nullptr;
}

// A mouse event `control` does not accept goes on to `next` (its parent; a scroll bar names its
// owner), or, where there is none, to `atRoot`, the caller's base-class handling. True when the
// event was passed on; the caller then does nothing more with it.
template <class AtRoot>
bool PassOnRefusedMouse(const CControlUI& control, CControlUI* next, TInputEvent& event, AtRoot atRoot)
{
    if (!IsMouseEventKind(event.Type) || control.AcceptsMouse())
        return false;
    if (next != nullptr)
        next->OnEvent(event);
    else
        atRoot(event);
    return true;
}

}  // namespace SkinUI
