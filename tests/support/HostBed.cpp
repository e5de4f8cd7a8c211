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
    hook = [this](TNotifyEvent& event) {
        if (onNotify)
            onNotify(*this, event);
    };
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

std::string KindName(int kind)
{
    switch (kind) {
    case InputEventKind::KeyDown:
        return "KeyDown";
    case InputEventKind::KeyUp:
        return "KeyUp";
    case InputEventKind::Char:
        return "Char";
    case InputEventKind::SysKey:
        return "SysKey";
    case InputEventKind::MouseMove:
        return "MouseMove";
    case InputEventKind::MouseLeave:
        return "MouseLeave";
    case InputEventKind::MouseEnter:
        return "MouseEnter";
    case InputEventKind::MouseHover:
        return "MouseHover";
    case InputEventKind::ButtonDown:
        return "ButtonDown";
    case InputEventKind::ButtonUp:
        return "ButtonUp";
    case InputEventKind::RightButtonDown:
        return "RightButtonDown";
    case InputEventKind::DoubleClick:
        return "DoubleClick";
    case InputEventKind::ContextMenu:
        return "ContextMenu";
    case InputEventKind::ScrollWheel:
        return "ScrollWheel";
    case InputEventKind::FocusLost:
        return "FocusLost";
    case InputEventKind::FocusGained:
        return "FocusGained";
    case InputEventKind::WindowSize:
        return "WindowSize";
    case InputEventKind::SetCursor:
        return "SetCursor";
    case InputEventKind::Timer:
        return "Timer";
    default:
        return "Kind" + std::to_string(kind);
    }
}

Probe::Probe(const char* name, int fixedWidth, int fixedHeight)
{
    SetName(name);
    SetFixedWidth(fixedWidth);
    SetFixedHeight(fixedHeight);
}

Probe::Probe(const char* name, Log* log, unsigned capabilities, const char* typeName)
    : m_log(log)
    , m_capabilities(capabilities)
    , m_typeName(typeName)
{
    SetName(name);
}

Probe::~Probe()
{
    if (m_log != nullptr)
        m_log->push_back(std::string(GetName().GetData()) + ":Destroyed");
}

const char* Probe::GetTypeName() const { return m_typeName != nullptr ? m_typeName : CControlUI::GetTypeName(); }

bool Probe::TriggerAction()
{
    if (m_log != nullptr)
        m_log->push_back(std::string(GetName().GetData()) + ":Action");
    return CControlUI::TriggerAction();
}

void Probe::OnEvent(TInputEvent& event)
{
    if (m_log == nullptr) {
        CControlUI::OnEvent(event);
        return;
    }
    m_log->push_back(std::string(GetName().GetData()) + ":" + KindName(event.Type));
    lastEvent = event;
    if (onEvent)
        onEvent(event);
    // Focus and timer handling of the base; the rest would bubble to the parent.
    if (event.Type == InputEventKind::FocusGained || event.Type == InputEventKind::FocusLost
        || event.Type == InputEventKind::Timer)
        CControlUI::OnEvent(event);
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

Probe* AddFloatingProbe(
    CContainerUI* parent, const char* name, Log* log, const char* pos, unsigned capabilities, const char* typeName)
{
    Probe* probe = new Probe(name, log, capabilities, typeName);
    probe->SetAttribute("float", "true");
    probe->SetAttribute("pos", pos);
    parent->AddChild(probe);
    return probe;
}

void NotifyRecorder::OnNotification(TNotifyEvent& event)
{
    TRecordedNotify note;
    note.type = event.Type.GetData();
    note.sender = event.Sender != nullptr ? event.Sender->GetName().GetData() : "";
    note.senderPtr = event.Sender;
    note.wParam = event.WParam;
    note.lParam = event.LParam;
    notes.push_back(note);
    if (m_log != nullptr)
        m_log->push_back(note.type + ":" + note.sender);
    last = event;
    if (hook)
        hook(event);
}

int NotifyRecorder::Count(const char* type) const
{
    int n = 0;
    for (const TRecordedNotify& note : notes)
        n += note.type == type ? 1 : 0;
    return n;
}

void HostFixture::SetUp()
{
    root = new CContainerUI;
    AddProbes();
    host().AddNotificationListener(&notes);
    host().AttachRoot(root);
    wnd.Repaint();
    testbed::PumpPending();
}

void HostFixture::Clear()
{
    testbed::PumpPending();
    log.clear();
    noteLog.clear();
}

Log Filter(const Log& log, const std::string& prefix)
{
    Log out;
    for (const std::string& entry : log) {
        if (entry.compare(0, prefix.size(), prefix) == 0)
            out.push_back(entry);
    }
    return out;
}

}  // namespace testbed
