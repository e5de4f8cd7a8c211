// WindowImplBase: the base of every skinned top-level window.
//
// It joins a native window (CWindowWnd) with the control host embedded in the object. At WM_CREATE
// it strips the native caption, binds the host, finds the skin (loose files, a zip file, a layout
// resource, or a zip archive among the executable's resources), builds the control tree with
// CSkinBuilder and attaches it. From then on the whole window is client area and the skin rules it:
// the host's caption rectangle drags the window, its size-box insets resize it, its round-corner
// size clips it, Escape closes it, and "click" notifications from controls named "closebtn",
// "minbtn", "maxbtn" and "restorebtn" act as the system buttons.
//
// Message routing (ProcessMessage): the WM_* handler below with the handled flag set; a handler
// clears the flag to let the message go on, to OnOtherMessage, then the host, then the previous
// window procedure. Coordinates: client coordinates of this window unless a handler says screen.
//
// The skin archive copy (SkinSourceZipResource) is a heap block the window allocates at creation
// and keeps until ReleaseSkinArchiveCopy, which first makes the host forget the archive opened on
// it, so nothing can read the block after it is freed.
#pragma once

#include <windows.h>

#include "core/UIString.h"
#include "host/Events.h"
#include "host/WindowHost.h"
#include "skin/SkinBuilder.h"
#include "window/NotifyPump.h"
#include "window/WindowWnd.h"

namespace SkinUI {

enum SkinSource : int {
    SkinSourceFile = 1,  // loose files under the resource folder
    SkinSourceZipFile = 2,  // a zip file under the resource folder
    SkinSourceResource = 3,  // the layout is an "xml" resource whose id is SkinFile's decimal text
    SkinSourceZipResource = 4,  // a zip archive stored as resource type "ZIPRES"
};

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase();

    //--- virtual operations, in slot order (after CWindowWnd's) --------------------------------
    UINT ClassStyle() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone(HWND hwnd) override;
    virtual ~WindowImplBase();
    virtual void OnWindowReady();
    virtual void OnClickNotify(TNotifyEvent& event);
    virtual CUIString SkinFolder() = 0;
    virtual CUIString SkinFile() = 0;
    virtual bool OnDefaultKey(WPARAM key);
    virtual SkinSource SkinSourceKind() const;
    virtual CUIString SkinZipFileName() const;
    // A name, or an integer id made with MAKEINTRESOURCE.
    virtual const char* SkinResourceId() const;
    virtual LRESULT OnMsgClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgNcActivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgNcPaint(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgMouseHover(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgChar(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgSetFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMsgMouseMove(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LONG StyleWithoutCaption() const;
    // The skin cannot be built: tells the user and ends the process with exit code 1. Tests
    // override it to observe the failure instead.
    virtual void OnSkinUnusable();

    //--- interface sides -------------------------------------------------------------------------
    // Runs the notification pump (virtual-window pumps, then the maps).
    void OnNotification(TNotifyEvent& event) override;
    // WM_KEYDOWN with Enter or Escape answers OnDefaultKey; the flag is never touched.
    LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    CControlUI* CreateCustomControl(const char* elementName) override;

    const TNotifyMap* NotifyMap() const override;
    static const TNotifyMap* StaticNotifyMap();

    CWindowHostUI& Host() { return m_host; }

    // Makes the host forget the archive opened on the skin archive copy, then frees the copy.
    // Safe to call again.
    void ReleaseSkinArchiveCopy();
    const void* SkinArchiveCopy() const { return m_skinArchiveCopy; }

protected:
    enum class SkinPrepared { Ready, ResourceMissing };

    // Creation steps shared by the windows built on this base, in their order of use.
    void BindHost();  // binds the host, adds the pre-translation filter
    void EnsureResourceFolder();  // the executable's folder + SkinFolder, when none is set
    SkinPrepared PrepareSkinSource();  // archive by SkinSourceKind; the copy for zip resources
    // CSkinBuilder on SkinFile, this window as callback; `budget` is the build's.
    CControlUI* BuildSkinTree(CSkinBuilder::BudgetPtr& budget);
    void PrefetchBackground(CControlUI* root);  // the root's background decodes on a worker
    // BuildSkinTree, then AttachTree; false, with nothing attached, when the skin is unusable.
    bool BuildAndAttachSkin();
    void AttachTree(CControlUI* root);  // attaches the root, adds the notification listener

    // Signed client point of a WM_NCHITTEST lParam (screen coordinates).
    POINT HitTestPoint(LPARAM lParam) const;
    // Whether a press at this client point may drag the window by the skin's caption rectangle.
    bool IsCaptionDragPoint(POINT pt, const RECT& client) const;

    CWindowHostUI m_host;

private:
    void* m_skinArchiveCopy = nullptr;  // owned heap block, size m_skinArchiveSize
    DWORD m_skinArchiveSize = 0;
};

}  // namespace SkinUI
