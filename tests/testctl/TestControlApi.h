// What the test control DLL (tests/activex/testctl, built as testctl.dll beside the test program)
// offers the tests: its class ids, and a shared record of what its objects saw. The tests load the
// same DLL the control loads through "modulename", so both sides see one record.
#pragma once

#include <ole2.h>
#include <windows.h>

namespace testctl {

// Objects the DLL's class factory makes. The player and browser ids are served too, so a control
// preset to them can be given this DLL as its "modulename" and gets a test object instead.
constexpr const char* kWindowlessClsid = "{7C4B1E20-3F6A-4D8B-9E51-2A6C0D9B7F01}";
constexpr const char* kWindowedClsid = "{7C4B1E20-3F6A-4D8B-9E51-2A6C0D9B7F02}";
constexpr const char* kInitFailsClsid = "{7C4B1E20-3F6A-4D8B-9E51-2A6C0D9B7F03}";
constexpr const char* kPlayerClsid = "{D27CDB6E-AE6D-11CF-96B8-444553540000}";
constexpr const char* kBrowserClsid = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

constexpr COLORREF kPaintColor = RGB(0, 200, 0);
constexpr int kMaxRecords = 64;

struct TMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct TState {
    int liveObjects;  // objects alive now
    int objectsMade;
    int closes;  // IOleObject::Close calls
    int advisedSinks;  // sinks held by connection points now
    int windowContextCalls;
    RECT windowContextPosition;
    RECT windowContextClip;
    UINT frameInfoSize;  // the cb the site left in the frame info
    RECT objectRects;  // the last SetObjectRects position
    HWND objectWindow;  // the windowed object's own child window
    int hitCount;
    POINT hits[kMaxRecords];
    int messageCount;
    TMessage messages[kMaxRecords];
};

typedef TState* (*StateFn)();  // "TestControlState"
typedef void (*ResetFn)();  // "TestControlReset": clears the record
typedef HRESULT (*FireFn)(DISPID, DISPPARAMS*);  // "TestControlFire": to the advised sink
typedef HRESULT (*DeactivateFn)();  // "TestControlDeactivate": the newest object leaves in-place
typedef IOleClientSite* (*ClientSiteFn)();  // "TestControlClientSite": the newest object's site, AddRef'd

}  // namespace testctl
