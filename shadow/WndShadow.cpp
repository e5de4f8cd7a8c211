// The shadow window: process-wide support, attaching to a parent, following it, pushing the picture.
#include "shadow/WndShadow.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "core/DpiScale.h"
#include "core/SystemLibrary.h"
#include "host/HostResources.h"

namespace SkinUI {

namespace {

typedef BOOL(WINAPI* UpdateLayeredWindowFn)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
typedef HRESULT(WINAPI* DwmIsCompositionEnabledFn)(BOOL*);

const char kShadowClass[] = "KestoShadowWnd";
const UINT kMsgCompositionChanged = 0x031E;

struct TSupport {
    UpdateLayeredWindowFn updateLayeredWindow = nullptr;  // null: shadows are off
    DwmIsCompositionEnabledFn isCompositionEnabled = nullptr;  // looked up at the first composition change
    bool compositionLookedUp = false;
    HINSTANCE instance = nullptr;
};

TSupport& Support()
{
    static TSupport support;
    return support;
}

// One entry per parent whose procedure we took over. The previous procedure lives here rather than
// in the object, so the parent keeps working after the object has gone (shadow becomes null).
struct TAttachment {
    CWndShadow* shadow;
    WNDPROC previous;
};

std::map<HWND, TAttachment>& Attachments()
{
    static std::map<HWND, TAttachment> attachments;
    return attachments;
}

template <class F> F LookUp(HMODULE module, const char* name)
{
    const FARPROC proc = GetProcAddress(module, name);
    F function;
    static_assert(sizeof(function) == sizeof(proc), "function pointer sizes differ");
    std::memcpy(&function, &proc, sizeof(function));
    return function;
}

bool CompositionEnabled()
{
    // Only a composition change asks, which most runs never see: the library is not worth loading
    // before the first window is drawn.
    TSupport& support = Support();
    if (!support.compositionLookedUp) {
        support.compositionLookedUp = true;
        HMODULE dwmapi = LoadSystemLibrary("dwmapi.dll");
        if (dwmapi != nullptr)
            support.isCompositionEnabled = LookUp<DwmIsCompositionEnabledFn>(dwmapi, "DwmIsCompositionEnabled");
    }
    BOOL enabled = FALSE;
    const DwmIsCompositionEnabledFn query = support.isCompositionEnabled;
    return query != nullptr && SUCCEEDED(query(&enabled)) && enabled;
}

signed char ToSigned8(int value) { return static_cast<signed char>(std::min(127, std::max(-128, value))); }

bool SameLook(const TShadowLook& a, const TShadowLook& b)
{
    return a.darkness == b.darkness && a.sharpness == b.sharpness && a.spread == b.spread && a.offsetX == b.offsetX
        && a.offsetY == b.offsetY && a.color == b.color;
}

// The parent's outline in its window coordinates: its window region, or its whole rectangle.
HRGN ParentOutline(HWND parent, int width, int height)
{
    HRGN outline = CreateRectRgn(0, 0, width, height);
    // Without a window region the call fails and the rectangle stays.
    if (outline != nullptr)
        GetWindowRgn(parent, outline);
    return outline;
}

}  // namespace

CWndShadow::~CWndShadow()
{
    if (m_drawnOutline != nullptr)
        DeleteObject(m_drawnOutline);
    for (auto& entry : Attachments()) {
        if (entry.second.shadow == this)
            entry.second.shadow = nullptr;
    }
}

bool CWndShadow::InitSupport(HINSTANCE instance)
{
    TSupport& support = Support();
    if (support.updateLayeredWindow != nullptr)
        return false;
    HMODULE user32 = LoadSystemLibrary("user32.dll");
    if (user32 == nullptr)
        return false;
    const UpdateLayeredWindowFn update = LookUp<UpdateLayeredWindowFn>(user32, "UpdateLayeredWindow");
    if (update == nullptr)
        return false;
    support.instance = instance;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kShadowClass;
    // A failed registration shows up as a failed CreateWindowExA in AttachTo.
    RegisterClassExA(&wc);

    support.updateLayeredWindow = update;
    return true;
}

void CWndShadow::AttachTo(HWND parent)
{
    const TSupport& support = Support();
    if (support.updateLayeredWindow == nullptr || !IsWindow(parent))
        return;
    // A second attachment would make the parent's "previous" procedure our own hook (endless
    // recursion), or leave one object answering for two parents.
    if (m_hWndShadow != INVALID_HANDLE_VALUE || Attachments().count(parent) != 0)
        return;

    HWND shadow = CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr, WS_POPUPWINDOW,
        CW_USEDEFAULT, 0, 0, 0, parent, nullptr, support.instance, nullptr);
    if (shadow == nullptr)
        return;
    m_hWndShadow = shadow;
    Attachments()[parent] = TAttachment{this, nullptr};
    m_status = StatusEnabled;
    m_dpi = CHostResources::ReadWindowDpi(parent);
    // Composition is not asked here: the shadow is shown even with it on, until a change says otherwise.
    RefreshVisibility(parent);

    const WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(parent, GWLP_WNDPROC));
    Attachments()[parent].previous = previous;
    SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWndShadow::ParentProc));
}

void CWndShadow::SetSpread(int spread)
{
    m_look.spread = ToSigned8(spread);
    if (m_status & StatusVisible)
        Redraw(GetParent(m_hWndShadow));
}

void CWndShadow::SetOffset(int x, int y)
{
    m_look.offsetX = ToSigned8(x);
    m_look.offsetY = ToSigned8(y);
    if (m_status & StatusVisible)
        Redraw(GetParent(m_hWndShadow));
}

TShadowLook CWndShadow::ScaledLook() const
{
    TShadowLook look = m_look;
    look.spread = ToSigned8(ScaleToDpi(m_look.spread, m_dpi));
    look.offsetX = ToSigned8(ScaleToDpi(m_look.offsetX, m_dpi));
    look.offsetY = ToSigned8(ScaleToDpi(m_look.offsetY, m_dpi));
    const int sharpness = ScaleToDpi(m_look.sharpness, m_dpi);
    look.sharpness = static_cast<BYTE>(sharpness > 255 ? 255 : sharpness);
    return look;
}

bool CWndShadow::IsActive() const { return (m_status & StatusEnabled) && !(m_status & StatusDisabledByComposition); }

void CWndShadow::RefreshVisibility(HWND parent)
{
    m_status &= StatusEnabled | StatusDisabledByComposition;
    const LONG style = GetWindowLongA(parent, GWL_STYLE);
    if (IsActive() && (style & WS_VISIBLE)) {
        m_status |= StatusParentVisible;
        if (!(style & (WS_MAXIMIZE | WS_MINIMIZE)))
            m_status |= StatusVisible;
    }
    // Shown whatever the status: a layered window shows nothing before its first update.
    ShowWindow(m_hWndShadow, SW_SHOWNA);
}

bool CWndShadow::Redraw(HWND parent)
{
    const UpdateLayeredWindowFn update = Support().updateLayeredWindow;
    RECT rc;
    if (update == nullptr || !IsWindow(m_hWndShadow) || !GetWindowRect(parent, &rc))
        return false;
    const TShadowLook look = ScaledLook();
    const int s = look.spread;
    const int parentWidth = rc.right - rc.left;
    const int parentHeight = rc.bottom - rc.top;
    const int width = parentWidth + 2 * s;
    const int height = parentHeight + 2 * s;
    // A spread that eats the whole parent leaves nothing to draw (and no bitmap could be made).
    if (width <= 0 || height <= 0)
        return false;

    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;  // positive: bottom-up rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        return false;
    }
    std::memset(bits, 0, bmi.bmiHeader.biSizeImage);

    HRGN outline = ParentOutline(parent, parentWidth, parentHeight);
    RenderShadow(static_cast<DWORD*>(bits), parentWidth, parentHeight, outline, look);

    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) {
        DeleteObject(bitmap);
        if (outline != nullptr)
            DeleteObject(outline);
        return false;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    POINT destination = {rc.left + look.offsetX - s, rc.top + look.offsetY - s};
    SIZE size = {width, height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    MoveWindow(m_hWndShadow, destination.x, destination.y, width, height, FALSE);
    const bool pushed
        = update(m_hWndShadow, nullptr, &destination, &size, memory, &source, 0, &blend, ULW_ALPHA) != FALSE;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (!pushed && outline != nullptr) {
        DeleteObject(outline);
        outline = nullptr;  // what the window shows now is not known
    }
    RememberDrawn(outline, SIZE{parentWidth, parentHeight}, look);
    return pushed;
}

void CWndShadow::RememberDrawn(HRGN outline, SIZE parentSize, const TShadowLook& look)
{
    // Takes `outline` over; null forgets the picture (the next paint draws again).
    if (m_drawnOutline != nullptr)
        DeleteObject(m_drawnOutline);
    m_drawnOutline = outline;
    m_drawnSize = parentSize;
    m_drawnLook = look;
}

bool CWndShadow::IsPictureCurrent(HWND parent) const
{
    RECT rc;
    if (m_drawnOutline == nullptr || !GetWindowRect(parent, &rc))
        return false;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width != m_drawnSize.cx || height != m_drawnSize.cy || !SameLook(ScaledLook(), m_drawnLook))
        return false;
    HRGN outline = ParentOutline(parent, width, height);
    const bool same = outline != nullptr && EqualRgn(outline, m_drawnOutline);
    if (outline != nullptr)
        DeleteObject(outline);
    return same;
}

LRESULT CALLBACK CWndShadow::ParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& attachments = Attachments();
    const auto found = attachments.find(hWnd);
    if (found == attachments.end())
        return DefWindowProcA(hWnd, message, wParam, lParam);  // not ours: cannot happen after attaching
    const TAttachment attachment = found->second;
    if (message == WM_NCDESTROY)
        attachments.erase(found);

    LRESULT result = 0;
    if (attachment.shadow != nullptr
        && attachment.shadow->OnParentMessage(hWnd, message, wParam, lParam, attachment.previous, result))
        return result;
    return CallWindowProcA(attachment.previous, hWnd, message, wParam, lParam);
}

bool CWndShadow::OnParentMessage(
    HWND parent, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC previous, LRESULT& result)
{
    switch (message) {
    case WM_DESTROY:
        DestroyWindow(m_hWndShadow);
        m_hWndShadow = static_cast<HWND>(INVALID_HANDLE_VALUE);
        break;

    case WM_MOVE:
        if (m_status & StatusVisible) {
            RECT rc;
            GetWindowRect(parent, &rc);
            const TShadowLook look = ScaledLook();
            SetWindowPos(m_hWndShadow, nullptr, rc.left + look.offsetX - look.spread,
                rc.top + look.offsetY - look.spread, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        }
        break;

    case WM_SIZE:
        if (IsActive()) {
            if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED) {
                ShowWindow(m_hWndShadow, SW_HIDE);
                m_status &= ~StatusVisible;
            } else if (GetWindowLongA(parent, GWL_STYLE) & WS_VISIBLE) {
                m_status |= StatusParentVisible;
                if (!(m_status & StatusVisible)) {
                    m_status |= StatusVisible;
                    Redraw(parent);
                    ShowWindow(m_hWndShadow, SW_SHOWNA);
                    m_updatePending = true;
                } else if (LOWORD(lParam) > LOWORD(m_lastParentSize) || HIWORD(lParam) > HIWORD(m_lastParentSize)) {
                    // The parent's new region is not in effect before its next paint.
                    m_updatePending = true;
                } else {
                    Redraw(parent);
                }
            }
            m_lastParentSize = lParam;
        }
        break;

    case WM_DPICHANGED:
        // The parent moves to its new rectangle next; that size change (or its paint) redraws.
        m_dpi = LOWORD(wParam) != 0 ? LOWORD(wParam) : m_dpi;
        m_updatePending = true;
        break;

    case WM_PAINT:
        // Often the picture pushed when the parent was shown already has this size and outline;
        // rendering it again would only delay the parent's first paint.
        if (m_updatePending && !IsPictureCurrent(parent))
            Redraw(parent);
        m_updatePending = false;
        break;

    case WM_EXITSIZEMOVE:
        if (m_status & StatusVisible)
            Redraw(parent);
        break;

    case kMsgCompositionChanged:
        if (CompositionEnabled())
            m_status |= StatusDisabledByComposition;
        else
            m_status &= ~StatusDisabledByComposition;
        RefreshVisibility(parent);
        break;

    case WM_SHOWWINDOW: {
        if (!IsActive())
            break;
        result = CallWindowProcA(previous, parent, message, wParam, lParam);
        // The parent's own handler may have ended this object.
        const auto found = Attachments().find(parent);
        if (found == Attachments().end() || found->second.shadow != this)
            return true;
        if (wParam == 0) {
            ShowWindow(m_hWndShadow, SW_HIDE);
            m_status &= ~(StatusVisible | StatusParentVisible);
        } else {
            m_status |= StatusVisible | StatusParentVisible;
            ShowWindow(m_hWndShadow, SW_SHOWNA);
            Redraw(parent);
        }
        return true;
    }

    default:
        break;
    }
    return false;
}

}  // namespace SkinUI
