// CWindowHostUI: turns one native window into a surface for a tree of windowless controls.
//
// The window hands the host every message (HandleWindowMessage). The host decodes them into
// TInputEvent records for the control under the mouse, the pressed (captured) control or the
// focused control, keeps hover, press, focus and key-target pointers, shows tooltips, lays out
// lazily at the next WM_PAINT and paints through one client-sized off-screen bitmap. It owns the
// root control; every other control is owned by its container. All points are client coordinates.
//
// Any pointer the host keeps to a control is dropped in ForgetControl, which every control's
// destructor calls, so the host never holds a dead control; it also clears the control's
// CControlAliveGuards, so code that raised an event learns whether the control survived it. Controls detached during
// their own event are destroyed later through DeferDestroy (a posted WM_APP+1).
//
// The implementation is split by concern:
//   HostDispatch.cpp  binding, root, message handler, mouse and keyboard routing, tooltips
//   HostPaint.cpp     lazy layout, off-screen painting, WM_PRINTCLIENT
//   HostFocus.cpp     focus, tab order, shortcut keys, process-wide pre-translation
//   HostTimers.cpp    control timers, notifications, option groups, listener lists
//
// Display scale: the host keeps its window's DPI (see CHostResources); controls keep 96-DPI values
// and lay out through it, so WM_DPICHANGED only remakes the fonts and lays the tree out again.
//
// Everything runs on the window's thread; listeners and event handlers may re-enter the host.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/NameMap.h"
#include "core/PtrVector.h"
#include "host/Events.h"
#include "host/HostResources.h"

namespace SkinUI {

class CAccessibleRegistry;
class CAccessibleUI;
class CControlAliveGuard;
class CControlUI;

class CWindowHostUI : public CHostResources {
public:
    CWindowHostUI();
    ~CWindowHostUI() override;
    CWindowHostUI(const CWindowHostUI&) = delete;
    CWindowHostUI& operator=(const CWindowHostUI&) = delete;

    //--- binding and the control tree (HostDispatch.cpp)
    // Takes the window's DC and joins the process-wide host list.
    void BindWindow(HWND hwnd);
    HWND GetPaintWindow() const { return m_hWndPaint; }
    // The window's own DC (not the off-screen one); owned by the host.
    HDC GetPaintDC() const { return m_hDcPaint; }
    // Replaces the root; the old tree is destroyed after the current message. The current root
    // again is a no-op; a control of the current tree leaves its parent first and survives.
    bool AttachRoot(CControlUI* root);
    // Attaches a subtree to this host (initialising it under `parent`, or its own parent when
    // null) and registers its names.
    bool AdoptSubtree(CControlUI* control, CControlUI* parent = nullptr);
    // Drops every reference to a control that is going away (focus without events).
    void ForgetControl(CControlUI* control);
    // ForgetControl for the control and everything under it (a detached or doomed subtree).
    void ForgetSubtree(CControlUI* control);
    // Detaches the control now and destroys it once the current message has returned.
    void DeferDestroy(CControlUI* control);
    CControlUI* FindControlAt(POINT pt) const;
    CControlUI* FindControlByName(const char* name) const;
    CControlUI* GetFocusControl() const { return m_focus; }
    // The control that got the last button-down and holds the capture, or null.
    CControlUI* GetPressedControl() const { return m_pressed; }
    CControlUI* GetRoot() const { return m_root; }
    bool HasRootControl() const override { return m_root != nullptr; }
    void CaptureMouse();
    // Ends the capture without a ButtonUp, so a native child the pressed control opened gets the
    // mouse; the pressed control stays as it is. The captured flag is cleared before the release,
    // so our own release is not taken for a loss.
    void ReleaseMouse();
    // For a control that takes the mouse for itself, outside any press the host saw (text
    // services, windowless objects). The host ends that capture when the control is hidden,
    // disabled or goes; the control hears of it as of any capture loss, through WM_CAPTURECHANGED
    // in its message filter.
    void CaptureMouseFor(CControlUI* control);
    // Ends the capture only while `control` holds it: never another control's press. Also called
    // for a control that can take no more input (hidden, disabled, gone).
    void ReleaseMouseFor(CControlUI* control);
    bool IsMouseCaptured() const { return m_mouseCaptured; }
    HWND GetTooltipWindow() const { return m_tooltip; }
    // The last mouse point is the base's GetMousePos() (m_ptLastMousePos).

    // true: the message is fully handled and `result` is the window procedure's answer.
    bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    //--- painting and layout flags (HostPaint.cpp)
    void SetLayoutPending() { m_layoutPending = true; }
    bool IsLayoutPending() const { return m_layoutPending; }
    // The next search for flagged controls walks the whole tree, not only the marked paths.
    void SearchWholeTreeForLayout() { m_layoutSearchWhole = true; }
    void SetShowDirty(bool show) { m_showDirty = show; }
    bool IsShowDirty() const { return m_showDirty; }
    void SetOffscreenPainting(bool offscreen) { m_offscreenPaint = offscreen; }
    bool IsOffscreenPainting() const { return m_offscreenPaint; }
    // Copy the screen behind the window into the off-screen bitmap before painting ("bktrans").
    void SetBackgroundSnapshot(bool snapshot) { m_backgroundSnapshot = snapshot; }
    bool IsBackgroundSnapshot() const { return m_backgroundSnapshot; }
    // Set by the first control with a "virtualwnd" attribute.
    void SetUsesVirtualWindows() { m_usesVirtualWindows = true; }
    bool UsesVirtualWindows() const { return m_usesVirtualWindows; }
    // The off-screen bitmap (null until the first paint, or after a root re-layout).
    HBITMAP GetOffscreenBitmap() const { return m_offscreenBitmap; }

    //--- focus, keyboard navigation, pre-translation (HostFocus.cpp)
    void SetFocusControl(CControlUI* control);
    // Arranges for the next paint to focus the tab stop after `control` (list and tab controls).
    void ScheduleFocus(CControlUI* control);
    bool MoveFocusByTab(bool forward);
    bool PreTranslate(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool TranslateAccelerators(const MSG* msg);
    // Offers a queued message to the host of its window; true: taken, neither translated nor
    // dispatched. Called by the message loop for every message.
    static bool TranslateForHosts(const MSG* msg);

    //--- timers, notifications, option groups, listener lists (HostTimers.cpp)
    bool SetControlTimer(CControlUI* control, UINT timerId, UINT elapseMs);
    bool KillControlTimer(CControlUI* control, UINT timerId);
    void KillControlTimers(CControlUI* control);
    // The native id of a control timer, or 0 when there is no such record (killed ones count).
    UINT NativeTimerId(CControlUI* control, UINT timerId) const;

    void SendNotification(TNotifyEvent& event);
    void SendNotification(CControlUI* sender, const char* type, WPARAM wParam = 0, LPARAM lParam = 0);

    bool AddOptionToGroup(const char* group, CControlUI* option);
    void RemoveOptionFromGroup(const char* group, CControlUI* option);
    // CControlUI* of the group, or null.
    CPtrVectorUI* GetOptionGroup(const char* group) const;

    bool AddNotificationListener(INotifyUI* listener);
    bool RemoveNotificationListener(INotifyUI* listener);
    bool AddPreTranslateFilter(IMessageFilterUI* filter);
    bool RemovePreTranslateFilter(IMessageFilterUI* filter);
    bool AddWindowMessageFilter(IMessageFilterUI* filter);
    bool RemoveWindowMessageFilter(IMessageFilterUI* filter);
    bool AddOverlayPainter(CControlUI* control);
    bool RemoveOverlayPainter(CControlUI* control);
    bool AddAcceleratorTranslator(ITranslateAccelerator* translator);
    bool RemoveAcceleratorTranslator(ITranslateAccelerator* translator);

    //--- assistive technology (HostAccessible.cpp)
    // WM_GETOBJECT: the client area's IAccessible; false for every other object id.
    bool OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result);
    // WM_GETOBJECT of a native window that stands for `control` (a password editor): the control's
    // object for OBJID_CLIENT; false for every other object id.
    bool OnGetObjectFor(CControlUI* control, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The object of a control (null: the client area), made on first use and owned by the host;
    // the caller adds its own reference when it keeps one. Null without a window.
    // `part` -1 is the control itself, else one of its links.
    CAccessibleUI* AccessibleObjectOf(CControlUI* control, int part = -1);
    // The live object with this child id, or null.
    CAccessibleUI* AccessibleById(long id) const;
    // Raises a WinEvent about the control (a name, state or value change, show, hide, create,
    // focus) for the nearest object a client can know; nothing when no hook can hear it.
    void AnnounceAccessibleChange(CControlUI* control, unsigned winEvent);
    // While held (the calls nest), controls joining the tree, shown or hidden are not announced
    // one by one: the holder announces the whole change once, so a subtree of thousands of rows
    // costs no object and no event a row.
    void HoldStructureAnnouncements() { ++m_structureHolds; }
    void ReleaseStructureAnnouncements() { --m_structureHolds; }
    // Runs the default action of the object with this id after the current call has returned.
    bool PostAccessibleAction(long id);
    // The control's objects (and its parts') go: disconnected, released, and announced as
    // destroyed. For a control that stays but is no longer shown where it was read (a drop-down's
    // row when the drop-down closes); ForgetControl does this for a control that goes.
    void ForgetAccessible(CControlUI* control);
    // The focus is drawn when the keyboard moved it; a mouse press hides the cue again.
    bool ShowsKeyboardCue() const { return m_keyboardCue; }

    //--- the background's early decode (HostPaint.cpp)
    // The root's first background image as drawn over a client of this size: its decode starts on
    // a worker (start; the root need not be attached yet), or its worker is told the size the
    // window settled at (see SettlePrefetch). Images of a resource type are left to their first use.
    void AimBackground(CControlUI* root, SIZE client, bool start);

private:
    friend class CControlAliveGuard;

    struct TControlTimer {
        CControlUI* owner;  // not owned
        UINT ownId;  // the control's own id
        HWND window;  // not owned
        UINT nativeId;
        bool killed;  // kept for a restart under the same native id
    };

    // HostDispatch.cpp
    // Every bound host of the process, in order of binding.
    static CPtrVectorUI& LiveHosts();
    TInputEvent MakeEvent(int kind, CControlUI* sender, POINT pt) const;
    // KeyDown, KeyUp, Char and SysKey: the key's low byte and the last mouse point.
    void SendKeyEvent(int kind, CControlUI* target, WPARAM wParam);
    // Asks the filters in order; true when one set `handled` (its answer is then in `result`).
    static bool AskFilters(const CPtrVectorUI& filters, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    CControlUI* OwnControlAt(POINT pt) const;
    void OnMouseMove(LPARAM lParam);
    bool OnMouseHover(LPARAM lParam);
    void OnMouseLeave();
    void OnCaptureChanged(HWND newCapture);
    // Ends the press of the pressed control without a click (a cancelled ButtonUp at (-1, -1)).
    void CancelPress();
    // The one way a name enters the name table: also recorded as one of the control's names.
    void RegisterName(const CUIString& name, CControlUI* control);
    void ForgetNames(CControlUI* control);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void DestroyDeferred();
    void HideTooltip();
    void AddAliveGuard(CControlAliveGuard* guard);
    void RemoveAliveGuard(CControlAliveGuard* guard);
    // Clears the guards watching `control`, or every guard when it is null.
    void MarkGuardsDead(CControlUI* control);

    // HostAccessible.cpp
    // Posted by PostAccessibleAction; lParam is the object's child id.
    static const UINT kAccessibleActionMessage = WM_APP + 2;
    void ReleaseAccessibles();
    // A control added to the shown tree is announced at the next paint, placed and drawn.
    void NoteCreated(CControlUI* control);
    // Up to kCreatedOneByOne controls are announced each as created; more at once (a list filled
    // row by row) make each of their readable containers announce its children reordered, which
    // spares an object for every row.
    void AnnounceCreated();
    static const size_t kCreatedOneByOne = 16;
    void AnnounceDestroyed(const std::vector<long>& ids);
    void RunAccessibleAction(long id);
    // A dotted rectangle just inside the focused control, limited to the repainted rectangle.
    void PaintFocusCue(HDC hdc, const RECT& paintRect);

    // HostPaint.cpp
    // WM_DPICHANGED: fonts remade for the new DPI, the window moved to the suggested rectangle (when
    // there is one), the tree laid out at once (native children take their new fonts and places
    // there), and the pop-ups this window owns that host controls follow.
    void OnDpiChanged(int dpi, const RECT* suggested);
    void OnPaint();
    void OnPrintClient(HDC hdc, LPARAM flags);
    void LayOutPending();
    void DropOffscreen();
    static HPEN DirtyPen();

    // HostFocus.cpp
    // FocusLost (naming `gaining`) and "killfocus" to the current focus, which becomes none.
    void DropFocus(CControlUI* gaining);
    // The tab-order visit: forward, the tab stop after `from` (the first one when from is null);
    // backward, the one before it. `lastTabStop` receives the last tab stop visited.
    CControlUI* FindTabNeighbour(CControlUI* from, bool forward, CControlUI** lastTabStop) const;
    bool OnShortcutKey(WPARAM key);

    // HostTimers.cpp
    bool NativeIdInUse(UINT id) const;
    UINT NextNativeId();
    void ReleaseTimers();
    void ForgetOption(CControlUI* option);
    void FreeOptionGroups();

    HDC m_offscreenDc = nullptr;  // owned; holds m_offscreenBitmap while painting
    HDC m_backgroundDc = nullptr;  // owned; holds m_backgroundBitmap
    HBITMAP m_offscreenBitmap = nullptr;  // owned, client-sized
    HBITMAP m_backgroundBitmap = nullptr;  // owned, client-sized snapshot of the screen behind
    HWND m_tooltip = nullptr;  // owned child pop-up, created on first use
    TTTOOLINFOA m_toolInfo;
    CUIString m_tooltipText;  // the text m_toolInfo points at
    bool m_showDirty = false;
    CControlUI* m_root = nullptr;  // owned
    CControlUI* m_focus = nullptr;
    CControlUI* m_hover = nullptr;
    CControlUI* m_pressed = nullptr;  // got the last button-down; holds the capture
    CControlUI* m_keyTarget = nullptr;  // got the last KeyDown; receives the KeyUp
    CControlUI* m_captureOwner = nullptr;  // took the capture through CaptureMouseFor, while it lasts
    UINT m_timerCounter = 4096;
    bool m_firstLayoutPending = true;
    bool m_layoutPending = false;
    bool m_layoutSearchWhole = false;  // see SearchWholeTreeForLayout
    bool m_focusPending = false;
    bool m_offscreenPaint = true;
    bool m_backgroundSnapshot = false;
    bool m_mouseTracking = false;
    bool m_mouseCaptured = false;
    bool m_usesVirtualWindows = false;
    CPtrVectorUI m_notifyListeners;  // INotifyUI*
    CPtrVectorUI m_timers;  // TControlTimer*, owned
    CPtrVectorUI m_preTranslateFilters;  // IMessageFilterUI*
    CPtrVectorUI m_messageFilters;  // IMessageFilterUI*
    CPtrVectorUI m_overlayPainters;  // CControlUI*
    CPtrVectorUI m_deferredDestroy;  // CControlUI*, owned until destroyed
    // The same controls, for asking whether one is queued without a search: forgetting each row of
    // a large subtree would otherwise scan the queue once per row.
    std::unordered_set<const CControlUI*> m_deferredSet;
    CPtrVectorUI m_acceleratorTranslators;  // ITranslateAccelerator*
    CNameMapUI m_names;  // name -> CControlUI*
    // The names each control was registered under, so forgetting a control looks its names up
    // instead of walking the whole name table once per control of a removed subtree.
    std::unordered_map<const CControlUI*, std::vector<CUIString>> m_namesOf;
    CPtrVectorUI m_aliveGuards;  // CControlAliveGuard*, on the stacks of running dispatches
    CNameMapUI m_optionGroups;  // group name -> TOptionGroup* (owned; HostTimers.cpp) of CControlUI*
    // How many groups each option is in: a control in none is forgotten without a walk over them.
    std::unordered_map<const CControlUI*, int> m_optionGroupCount;
    CAccessibleRegistry* m_accessibles = nullptr;  // owned, made at the first WM_GETOBJECT or event
    std::vector<CControlUI*> m_created;  // added since the last paint, in order, while few
    std::unordered_set<const CControlUI*> m_createdSet;  // the same, less those forgotten since
    // Once more were added: the parents they were added to, less those forgotten since.
    std::unordered_set<CControlUI*> m_createdParents;
    int m_structureHolds = 0;
    bool m_keyboardCue = false;  // the keyboard moved the focus last
};

}  // namespace SkinUI
