#include "HostTestSupport.h"

#include "host/ResourceLocation.h"
#include "support/TestBed.h"

using namespace SkinUI;

namespace hosttest {

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

ProbeControl::ProbeControl(const char* name, Log* log, unsigned capabilities, const char* typeName)
    : m_log(log)
    , m_capabilities(capabilities)
    , m_typeName(typeName)
{
    SetName(name);
}

ProbeControl::~ProbeControl() { m_log->push_back(std::string(GetName().GetData()) + ":Destroyed"); }

bool ProbeControl::TriggerAction()
{
    m_log->push_back(std::string(GetName().GetData()) + ":Action");
    return CControlUI::TriggerAction();
}

void ProbeControl::OnEvent(TInputEvent& event)
{
    m_log->push_back(std::string(GetName().GetData()) + ":" + KindName(event.Type));
    lastEvent = event;
    if (onEvent)
        onEvent(event);
    // Focus and timer handling of the base; the rest would bubble to the parent.
    if (event.Type == InputEventKind::FocusGained || event.Type == InputEventKind::FocusLost
        || event.Type == InputEventKind::Timer)
        CControlUI::OnEvent(event);
}

ProbeControl* AddFloatingProbe(
    CContainerUI* parent, const char* name, Log* log, const char* pos, unsigned capabilities, const char* typeName)
{
    ProbeControl* probe = new ProbeControl(name, log, capabilities, typeName);
    probe->SetAttribute("float", "true");
    probe->SetAttribute("pos", pos);
    parent->AddChild(probe);
    return probe;
}

void NotifyRecorder::OnNotification(TNotifyEvent& event)
{
    const CUIString name = event.Sender != nullptr ? event.Sender->GetName() : CUIString();
    m_log->push_back(std::string(event.Type.GetData()) + ":" + name.GetData());
    last = event;
    if (hook)
        hook(event);
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

}  // namespace hosttest
