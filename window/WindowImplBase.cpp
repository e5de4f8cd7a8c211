#include "window/WindowImplBase.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "controls/base/Control.h"
#include "core/ValueParse.h"
#include "host/ResourceLocation.h"

namespace SkinUI {

namespace {

// "加载资源文件失败" ("loading the resource file failed"); shown in UTF-16 so it reads right on
// every system code page.
const wchar_t kSkinFailureText[] = L"\x52A0\x8F7D\x8D44\x6E90\x6587\x4EF6\x5931\x8D25";

// Work area of the monitor nearest to the window, with the monitor's top-left corner as origin.
RECT MonitorRelativeWorkArea(HWND hwnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    RECT work = {0, 0, 0, 0};
    if (::GetMonitorInfoA(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info)) {
        work = info.rcWork;
        ::OffsetRect(&work, -info.rcMonitor.left, -info.rcMonitor.top);
    }
    return work;
}

}  // namespace

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase()
{
    // A window destroyed without the application's close path must not leave the process-wide
    // archive pointing into its freed copy.
    ReleaseSkinArchiveCopy();
}

UINT WindowImplBase::ClassStyle() const { return CS_DBLCLKS; }

//--- dispatch ------------------------------------------------------------------------------------

LRESULT WindowImplBase::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = true;
    LRESULT result = 0;
    switch (message) {
    // clang-format off
    case WM_CREATE: result = OnMsgCreate(message, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnMsgClose(message, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnMsgDestroy(message, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnMsgNcActivate(message, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnMsgNcCalcSize(message, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnMsgNcPaint(message, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnMsgNcHitTest(message, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnMsgGetMinMaxInfo(message, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMsgMouseWheel(message, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = OnMsgMouseHover(message, wParam, lParam, handled); break;
    case WM_SIZE: result = OnMsgSize(message, wParam, lParam, handled); break;
    case WM_CHAR: result = OnMsgChar(message, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnMsgSysCommand(message, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnMsgKeyDown(message, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnMsgKillFocus(message, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnMsgSetFocus(message, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnMsgLButtonDown(message, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = OnMsgLButtonUp(message, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = OnMsgMouseMove(message, wParam, lParam, handled); break;
    default: handled = false; break;
    }
    // clang-format on
    if (handled)
        return result;

    handled = false;
    result = OnOtherMessage(message, wParam, lParam, handled);
    if (handled)
        return result;

    LRESULT hostResult = 0;
    if (m_host.HandleWindowMessage(message, wParam, lParam, hostResult))
        return hostResult;
    return CallPrevious(message, wParam, lParam);
}

void WindowImplBase::OnWindowGone(HWND hwnd)
{
    m_host.RemovePreTranslateFilter(this);
    m_host.RemoveNotificationListener(this);
    if (CControlUI* root = m_host.GetRoot())
        m_host.ForgetControl(root);
    CWindowWnd::OnWindowGone(hwnd);
}

//--- hooks with defaults ---------------------------------------------------------------------------

void WindowImplBase::OnWindowReady() { }

void WindowImplBase::OnClickNotify(TNotifyEvent& event)
{
    if (event.Sender == nullptr)
        return;
    const CUIString name = event.Sender->GetName();
    if (name == "closebtn")
        PostClose(1);
    else if (name == "minbtn")
        ::SendMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == "maxbtn")
        ::SendMessageA(m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == "restorebtn")
        ::SendMessageA(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
}

bool WindowImplBase::OnDefaultKey(WPARAM key)
{
    if (key != VK_ESCAPE)
        return false;
    PostClose(1);
    return true;
}

SkinSource WindowImplBase::SkinSourceKind() const { return SkinSourceFile; }

CUIString WindowImplBase::SkinZipFileName() const { return CUIString(); }

const char* WindowImplBase::SkinResourceId() const { return ""; }

LRESULT WindowImplBase::OnMsgClose(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnMsgMouseWheel(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgMouseHover(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgChar(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgKeyDown(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgKillFocus(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgSetFocus(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgLButtonDown(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgLButtonUp(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnMsgMouseMove(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::OnOtherMessage(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

LONG WindowImplBase::StyleWithoutCaption() const
{
    return static_cast<LONG>(::GetWindowLongA(m_hWnd, GWL_STYLE) & ~WS_CAPTION);
}

void WindowImplBase::OnSkinUnusable()
{
    ::MessageBoxW(nullptr, kSkinFailureText, L"SkinUI", MB_ICONERROR);
    ::ExitProcess(1);
}

//--- non-client handling ---------------------------------------------------------------------------

LRESULT WindowImplBase::OnMsgNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    if (::IsIconic(m_hWnd))
        handled = false;
    // Claiming the activation change ourselves keeps the system from drawing an inactive frame.
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnMsgNcCalcSize(UINT, WPARAM, LPARAM lParam, bool&)
{
    if (!::IsZoomed(m_hWnd))
        return 0;  // the whole window rectangle is client area
    // Maximised: the client area is exactly the work area, so no part of it hides off-screen.
    RECT* proposed = reinterpret_cast<RECT*>(lParam);  // first member of NCCALCSIZE_PARAMS, too
    if (proposed == nullptr)
        return 0;
    const RECT work = MonitorRelativeWorkArea(m_hWnd);
    proposed->right = proposed->left + (work.right - work.left);
    proposed->bottom = proposed->top + (work.bottom - work.top);
    return WVR_REDRAW;
}

POINT WindowImplBase::HitTestPoint(LPARAM lParam) const
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ScreenToClient(m_hWnd, &pt);
    return pt;
}

bool WindowImplBase::IsCaptionDragPoint(POINT pt, const RECT& client) const
{
    const CRectUI caption = m_host.Scaled(m_host.GetCaptionRect());
    if (pt.x < client.left + caption.left || pt.x >= client.right - caption.right)
        return false;
    if (pt.y < caption.top || pt.y >= caption.bottom)
        return false;
    CControlUI* control = m_host.FindControlAt(pt);
    if (control == nullptr)
        return false;
    // Controls the user clicks keep the press; everything else in the strip moves the window.
    const CUIString type = control->GetTypeName();
    return type.CompareNoCase("ButtonUI") != 0 && type.CompareNoCase("OptionUI") != 0
        && type.CompareNoCase("TextUI") != 0;
}

LRESULT WindowImplBase::OnMsgNcHitTest(UINT, WPARAM, LPARAM lParam, bool&)
{
    const POINT pt = HitTestPoint(lParam);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (!::IsZoomed(m_hWnd)) {
        const CRectUI box = m_host.Scaled(m_host.GetSizeBox());
        const bool left = pt.x < client.left + box.left;
        const bool right = pt.x > client.right - box.right;
        if (pt.y < client.top + box.top)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (pt.y > client.bottom - box.bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
    }
    return IsCaptionDragPoint(pt, client) ? HTCAPTION : HTCLIENT;
}

LRESULT WindowImplBase::OnMsgGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled)
{
    handled = false;  // the default procedure fills in the rest
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info == nullptr)
        return 0;
    const RECT work = MonitorRelativeWorkArea(m_hWnd);
    info->ptMaxPosition.x = work.left;
    info->ptMaxPosition.y = work.top;
    info->ptMaxTrackSize.x = work.right - work.left;
    info->ptMaxTrackSize.y = work.bottom - work.top;
    info->ptMinTrackSize.x = m_host.Scaled(m_host.GetMinInfo().cx);
    info->ptMinTrackSize.y = m_host.Scaled(m_host.GetMinInfo().cy);
    return 0;
}

LRESULT WindowImplBase::OnMsgSize(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;  // the host lays the controls out on WM_SIZE
    const CSizeUI corner = m_host.Scaled(m_host.GetRoundCorner());
    if (::IsIconic(m_hWnd) || (corner.cx == 0 && corner.cy == 0))
        return 0;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    ::OffsetRect(&window, -window.left, -window.top);
    HRGN region
        = ::CreateRoundRectRgn(window.left, window.top, window.right + 1, window.bottom + 1, corner.cx, corner.cy);
    // The window owns the region once SetWindowRgn succeeds.
    if (region != nullptr && !::SetWindowRgn(m_hWnd, region, TRUE))
        ::DeleteObject(region);
    return 0;
}

LRESULT WindowImplBase::OnMsgSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool&)
{
    // The low four bits of a system command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        ::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return 0;
    }
    return CallPrevious(message, wParam, lParam);
}

//--- creation --------------------------------------------------------------------------------------

LRESULT WindowImplBase::OnMsgCreate(UINT, WPARAM, LPARAM, bool&)
{
    ::SetWindowLongA(m_hWnd, GWL_STYLE, StyleWithoutCaption() | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::SetWindowPos(m_hWnd, nullptr, client.left, client.top, client.right - client.left, client.bottom - client.top,
        SWP_FRAMECHANGED);

    BindHost();
    EnsureResourceFolder();
    // A missing skin resource leaves an empty window here; windows that need their skin decide otherwise.
    if (PrepareSkinSource() == SkinPrepared::ResourceMissing)
        return 0;
    if (!BuildAndAttachSkin()) {
        OnSkinUnusable();
        return 0;
    }
    m_host.SetBackgroundSnapshot(true);
    OnWindowReady();
    return 0;
}

void WindowImplBase::BindHost()
{
    m_host.BindWindow(m_hWnd);
    m_host.AddPreTranslateFilter(this);
}

void WindowImplBase::EnsureResourceFolder()
{
    if (!CResourceLocation::GetResourceFolder().IsEmpty())
        return;
    CResourceLocation::SetResourceFolder(CResourceLocation::GetInstanceFolder() + SkinFolder());
}

WindowImplBase::SkinPrepared WindowImplBase::PrepareSkinSource()
{
    switch (SkinSourceKind()) {
    case SkinSourceZipFile:
        CResourceLocation::SetSkinArchive(SkinZipFileName());
        break;
    case SkinSourceZipResource: {
        HINSTANCE module = CResourceLocation::GetResourceInstance();
        HRSRC found = ::FindResourceA(module, SkinResourceId(), "ZIPRES");
        HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
        const DWORD size = loaded != nullptr ? ::SizeofResource(module, found) : 0;
        const void* bytes = size != 0 ? ::LockResource(loaded) : nullptr;
        if (bytes == nullptr)
            return SkinPrepared::ResourceMissing;
        ReleaseSkinArchiveCopy();
        // Without memory for the copy no archive is set: the layout then cannot be found and the
        // skin failure follows.
        void* copy = ::operator new(size, std::nothrow);
        if (copy == nullptr)
            break;
        std::memcpy(copy, bytes, size);
        m_skinArchiveCopy = copy;
        m_skinArchiveSize = size;
        CResourceLocation::SetSkinArchiveMemory(m_skinArchiveCopy, m_skinArchiveSize);
        break;
    }
    case SkinSourceFile:
    case SkinSourceResource:
        break;
    }
    return SkinPrepared::Ready;
}

CControlUI* WindowImplBase::BuildSkinTree(CSkinBuilder::BudgetPtr& budget)
{
    CSkinBuilder builder;
    CControlUI* root = nullptr;
    if (SkinSourceKind() == SkinSourceResource) {
        const int id = ParseInt(SkinFile());
        if (id <= 0 || id > 0xFFFF)
            return nullptr;  // not a resource id at all
        root = builder.BuildFrom(MAKEINTRESOURCEA(id), "xml", this, &m_host, nullptr);
    } else {
        root = builder.BuildFrom(SkinFile(), nullptr, this, &m_host, nullptr);
    }
    budget = builder.Budget();
    if (root != nullptr)
        PrefetchBackground(root);
    return root;
}

void WindowImplBase::PrefetchBackground(CControlUI* root)
{
    // The root's background is usually the largest picture and the first one painted: it decodes
    // while the rest of creation runs, no larger than the window it is drawn over will need.
    m_host.AimBackground(root, m_host.Scaled(m_host.GetInitialSize()), true);
}

bool WindowImplBase::BuildAndAttachSkin()
{
    CSkinBuilder::BudgetPtr budget;
    CControlUI* root = BuildSkinTree(budget);
    if (root == nullptr)
        return false;
    AttachTree(root);
    // Child layouts build as the tree is adopted, from the skin's budget: past it, parts of the
    // skin are missing, and a partly built skin is as unusable as none.
    if (budget != nullptr && budget->spent) {
        m_host.AttachRoot(nullptr);
        return false;
    }
    return true;
}

void WindowImplBase::AttachTree(CControlUI* root)
{
    m_host.AttachRoot(root);
    m_host.AddNotificationListener(this);
}

void WindowImplBase::ReleaseSkinArchiveCopy()
{
    if (m_skinArchiveCopy == nullptr)
        return;
    // The cached archive reads straight from the copy: close it before the bytes go. Another
    // window's archive (its block, not ours) stays open.
    if (CResourceLocation::GetSkinArchiveBlock() == m_skinArchiveCopy)
        CResourceLocation::CloseSkinArchive();
    ::operator delete(m_skinArchiveCopy);
    m_skinArchiveCopy = nullptr;
    m_skinArchiveSize = 0;
}

//--- interface sides -------------------------------------------------------------------------------

void WindowImplBase::OnNotification(TNotifyEvent& event) { PumpNotification(event); }

LRESULT WindowImplBase::FilterMessage(UINT message, WPARAM wParam, LPARAM, bool&)
{
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return OnDefaultKey(wParam) ? 1 : 0;
    return 0;
}

CControlUI* WindowImplBase::CreateCustomControl(const char*) { return nullptr; }

const TNotifyMap* WindowImplBase::StaticNotifyMap()
{
    static const TNotifyMapEntry entries[] = {
        NotifyOnEvent<WindowImplBase, &WindowImplBase::OnClickNotify>("click"),
        NotifyEnd(),
    };
    static const TNotifyMap map = {CNotifyPump::StaticNotifyMap(), entries};
    return &map;
}

const TNotifyMap* WindowImplBase::NotifyMap() const { return StaticNotifyMap(); }

}  // namespace SkinUI
