// The records and listener interfaces that connect the control host with controls and with the
// application.
//
// Only the host turns raw window messages into TInputEvent records; controls see nothing else. A
// record is zero-filled and then only the fields that belong to its kind are set (see the table at
// InputEventKind). Mouse points are client coordinates of the host window.
//
// TNotifyEvent is the named notification ("click", "selectchanged", ...) that controls raise
// through the host. Delivery is synchronous: the sender's NotifyListeners first, then the host's
// INotifyUI listeners in the order they were added; a listener may re-enter the host.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/UIString.h"

namespace SkinUI {

class CControlUI;

// Kinds of TInputEvent. Controls test ranges: mouse kinds are 9..18, key kinds 3..6.
// Values 1, 2, 7, 8, 19 and 25 upwards are never produced.
namespace InputEventKind {
enum Kind : int {
    KeyDown = 3,  // WM_KEYDOWN -> focus (which becomes the key target); KeyChar, MousePoint
    KeyUp = 4,  // WM_KEYUP -> key target; as KeyDown
    Char = 5,  // WM_CHAR -> focus; as KeyDown
    SysKey = 6,  // WM_SYSKEYDOWN (pre-translation) -> focus; as KeyDown
    MouseMove = 9,  // pressed control if any, else the control under the mouse; MousePoint
    MouseLeave = 10,  // previous hover control; MousePoint
    MouseEnter = 11,  // new hover control; MousePoint
    MouseHover = 12,  // hover control; MousePoint
    ButtonDown = 13,  // MousePoint, WParam, LParam, KeyState
    ButtonUp = 14,  // pressed control; as ButtonDown (synthetic ones carry MousePoint and Cancelled only)
    RightButtonDown = 15,  // as ButtonDown
    DoubleClick = 16,  // MousePoint, KeyState
    ContextMenu = 17,  // pressed control; MousePoint, KeyState, LParam = the pressed control
    ScrollWheel = 18,  // WParam 1 when the wheel turned towards the user, else 0; LParam
    FocusLost = 20,  // Sender = the control gaining focus (may be null)
    FocusGained = 21,
    WindowSize = 22,  // WM_SIZE -> focus
    SetCursor = 23,  // WM_SETCURSOR; Sender null; MousePoint, WParam, LParam
    Timer = 24,  // WParam = the control's own timer id
};
}  // namespace InputEventKind

inline bool IsMouseEventKind(int kind)
{
    return kind >= InputEventKind::MouseMove && kind <= InputEventKind::ScrollWheel;
}
inline bool IsKeyEventKind(int kind) { return kind >= InputEventKind::KeyDown && kind <= InputEventKind::SysKey; }

struct TInputEvent {
    int Type;  // an InputEventKind value
    CControlUI* Sender;  // not owned
    uint32_t Timestamp;  // GetTickCount milliseconds
    POINT MousePoint;  // client coordinates
    char KeyChar;  // low byte of the virtual-key code or character
    uint16_t KeyState;  // low word of the mouse message's wParam (MK_* bits)
    WPARAM WParam;
    LPARAM LParam;
    // ButtonUp only: the host ended the press itself (a second button pressed, the capture taken
    // by another window). The user released nothing, so no control acts on it: it only drops its
    // pressed look and puts back what a drag changed. (WM_CLOSE's release is a real one.)
    bool Cancelled;
};

struct TNotifyEvent {
    CUIString Type;  // "click", "windowinit", ...
    CUIString VirtualWindow;  // the sender's virtual window name, when the host uses them
    CControlUI* Sender;  // not owned; may be null
    uint32_t Timestamp;
    POINT MousePoint;  // last mouse point of the host, client coordinates
    WPARAM WParam;
    LPARAM LParam;

    TNotifyEvent()
        : Sender(nullptr)
        , Timestamp(0)
        , MousePoint{0, 0}
        , WParam(0)
        , LParam(0)
    {
    }
};

// Receives every notification of a host (the window's own listener side, mostly).
class INotifyUI {
public:
    virtual void OnNotification(TNotifyEvent& event) = 0;

protected:
    ~INotifyUI() = default;
};

// Sees a message before the host does. Setting `handled` ends the handling; the return value is
// then the message's result.
class IMessageFilterUI {
public:
    virtual LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

// Offered every queued message of the thread before it is translated; 0 means "taken".
class ITranslateAccelerator {
public:
    virtual LRESULT Translate(const MSG* msg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

}  // namespace SkinUI
