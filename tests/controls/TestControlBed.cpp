#include "controls/TestControlBed.h"

#include <string>

#include "support/HostBed.h"
#include "core/SystemLibrary.h"
#include "skin/SkinBuilder.h"

namespace testbed {

TestControl::TestControl()
{
    const HMODULE module = SkinUI::LoadModuleBesideProgram("testctl.dll");
    const auto state = SkinUI::LookUpProc<testctl::StateFn>(module, "TestControlState");
    const auto reset = SkinUI::LookUpProc<testctl::ResetFn>(module, "TestControlReset");
    m_fire = SkinUI::LookUpProc<testctl::FireFn>(module, "TestControlFire");
    m_deactivate = SkinUI::LookUpProc<testctl::DeactivateFn>(module, "TestControlDeactivate");
    m_clientSite = SkinUI::LookUpProc<testctl::ClientSiteFn>(module, "TestControlClientSite");
    if (state == nullptr || reset == nullptr || m_fire == nullptr || m_deactivate == nullptr || m_clientSite == nullptr)
        return;
    reset();
    m_state = state();
}

SkinUI::CControlUI* BuildTestControl(HostBed& bed, const char* tag, const char* clsid)
{
    const std::string xml = std::string("<Window><") + tag
        + " modulename=\"testctl.dll\" delaycreate=\"false\" clsid=\"" + clsid + "\"/></Window>";
    SkinUI::CSkinBuilder builder;
    return builder.BuildFrom(xml.c_str(), nullptr, nullptr, &bed.Host());
}

void ExpectSecondObjectReplacedTheFirst(const testctl::TState& state)
{
    EXPECT_EQ(state.objectsMade, 2);
    EXPECT_EQ(state.liveObjects, 1);
    EXPECT_EQ(state.closes, 1);
}

}  // namespace testbed
