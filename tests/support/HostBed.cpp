#include "support/HostBed.h"

#include "host/ResourceLocation.h"

using namespace SkinUI;

namespace testbed {

void UseTestModule() { CResourceLocation::SetModuleInstance(::GetModuleHandleA(nullptr)); }

HostWindow::HostWindow(int width, int height)
{
    UseTestModule();
    Create(nullptr, "host test", WS_POPUP, 0, 0, 0, width, height);
    m_host.BindWindow(GetHWND());
    ::ShowWindow(GetHWND(), SW_SHOWNA);
}

HostWindow::~HostWindow()
{
    if (::IsWindow(GetHWND()))
        ::DestroyWindow(GetHWND());
}

LRESULT HostWindow::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_host.HandleWindowMessage(message, wParam, lParam, result))
        return result;
    return CallPrevious(message, wParam, lParam);
}

void HostWindow::Repaint()
{
    ::InvalidateRect(GetHWND(), nullptr, FALSE);
    ::UpdateWindow(GetHWND());
}

LRESULT HostWindow::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(GetHWND(), message, wParam, lParam);
}

LRESULT HostWindow::MouseAt(UINT message, int x, int y, WPARAM keys) { return Send(message, keys, MAKELPARAM(x, y)); }

HostBed::HostBed(int width, int height)
    : m_window(width, height)
{
    Host().AddNotificationListener(this);
}

HostBed::~HostBed()
{
    // The window goes while the recorder is whole: what its closing notifies is recorded.
    if (::IsWindow(Hwnd()))
        ::DestroyWindow(Hwnd());
    Host().RemoveNotificationListener(this);
}

void HostBed::Attach(CControlUI* root)
{
    Host().AttachRoot(root);
    Repaint();
}

void HostBed::Repaint() { m_window.Repaint(); }

LRESULT HostBed::Send(UINT message, WPARAM wParam, LPARAM lParam) { return m_window.Send(message, wParam, lParam); }

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

void HostBed::Pump() { PumpPending(); }

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
    DibCanvas canvas(width, height, 0xFF000000u | rgb);
    canvas.SaveBmp(path.c_str());
    return path;
}

std::string ImageSpec(const char* name, uint32_t rgb) { return "file='" + SolidImage(name, rgb) + "'"; }

Screen::Screen(HostBed& bed)
{
    bed.Repaint();
    m_pixels = ReadBitmap(bed.Host().GetOffscreenBitmap(), m_width, m_height);
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

}  // namespace testbed
