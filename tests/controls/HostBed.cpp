#include "controls/HostBed.h"

#include <cstdio>

using namespace SkinUI;

namespace controls_test {

namespace {

const char kClass[] = "ControlsTestHostWindow";

LRESULT CALLBACK BedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* host = reinterpret_cast<CWindowHostUI*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (host) {
        LRESULT result = 0;
        if (host->HandleWindowMessage(message, wParam, lParam, result))
            return result;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HostBed::HostBed(int width, int height)
{
    static const bool registered = testbed::RegisterTestClass(kClass, BedProc, CS_DBLCLKS);
    (void)registered;
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, WS_POPUP, FALSE, 0);
    m_hwnd = CreateWindowExA(0, kClass, "controls", WS_POPUP, 0, 0, r.right - r.left, r.bottom - r.top, nullptr,
        nullptr, GetModuleHandleA(nullptr), nullptr);
    m_host = new CWindowHostUI;
    m_host->BindWindow(m_hwnd);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_host));
    m_host->AddNotificationListener(this);
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
}

HostBed::~HostBed()
{
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    delete m_host;
    DestroyWindow(m_hwnd);
}

void HostBed::Attach(CControlUI* root)
{
    m_host->AttachRoot(root);
    Repaint();
}

void HostBed::Repaint()
{
    InvalidateRect(m_hwnd, nullptr, FALSE);
    UpdateWindow(m_hwnd);
}

LRESULT HostBed::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(m_hwnd, message, wParam, lParam);
}

void HostBed::MoveTo(int x, int y) { Send(WM_MOUSEMOVE, 0, Pt(x, y)); }
void HostBed::Press(int x, int y) { Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, y)); }
void HostBed::Release(int x, int y) { Send(WM_LBUTTONUP, 0, Pt(x, y)); }

void HostBed::Click(int x, int y)
{
    MoveTo(x, y);
    Press(x, y);
    Release(x, y);
}

void HostBed::Key(UINT vk)
{
    Send(WM_KEYDOWN, vk, 1);
    Send(WM_KEYUP, vk, 0xC0000001);
}

void HostBed::Pump() { testbed::PumpPending(); }

void HostBed::OnNotification(TNotifyEvent& event)
{
    TRecordedNotify n;
    n.type = event.Type.GetData();
    n.sender = event.Sender ? event.Sender->GetName().GetData() : "";
    n.senderPtr = event.Sender;
    n.wParam = event.WParam;
    n.lParam = event.LParam;
    notes.push_back(n);
    if (onNotify)
        onNotify(*this, event);
}

int HostBed::Count(const char* type) const
{
    int n = 0;
    for (const TRecordedNotify& note : notes)
        n += note.type == type ? 1 : 0;
    return n;
}

Probe::Probe(const char* name, int fixedWidth, int fixedHeight)
{
    SetName(name);
    SetFixedWidth(fixedWidth);
    SetFixedHeight(fixedHeight);
}

CSizeUI Probe::MeasureSize(CSizeUI available)
{
    lastAvailable = available;
    return CControlUI::MeasureSize(available);
}

void Probe::SetPosition(const CRectUI& rect)
{
    ++placements;
    CControlUI::SetPosition(rect);
}

::testing::AssertionResult RectIs(const CRectUI& actual, LONG l, LONG t, LONG r, LONG b)
{
    if (actual == CRectUI(l, t, r, b))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << actual.left << "," << actual.top << "," << actual.right << ","
                                         << actual.bottom << ") want (" << l << "," << t << "," << r << "," << b << ")";
}

std::string SolidImage(const char* name, uint32_t rgb, int width, int height)
{
    char folder[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, folder);
    std::string path = (n > 0 && n < MAX_PATH) ? folder : ".\\";
    path += name;
    testbed::DibCanvas canvas(width, height, 0xFF000000u | rgb);
    canvas.SaveBmp(path.c_str());
    return path;
}

std::string ImageSpec(const char* name, uint32_t rgb) { return "file='" + SolidImage(name, rgb) + "'"; }

Screen::Screen(HostBed& bed)
{
    bed.Repaint();
    m_pixels = testbed::ReadBitmap(bed.Host().GetOffscreenBitmap(), m_width, m_height);
}

uint32_t Screen::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0xDEADBEEF;
    return m_pixels[static_cast<size_t>(y) * m_width + x] & 0xFFFFFF;
}

int Screen::CountNot(uint32_t rgb, const RECT& r) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += At(x, y) != rgb ? 1 : 0;
    return n;
}

}  // namespace controls_test
