// The host with two side-by-side tab stops, "A" left of "B", that the dispatch and lifetime tests
// both drive.
#pragma once

#include "support/HostBed.h"

namespace testbed {

class TwoTabStopHost : public HostFixture {
protected:
    void AddProbes() override
    {
        a = AddFloatingProbe(root, "A", &log, "10,10,60,40", SkinUI::CapabilityTabStop);
        b = AddFloatingProbe(root, "B", &log, "70,10,120,40", SkinUI::CapabilityTabStop);
    }

    Probe* a = nullptr;
    Probe* b = nullptr;
};

}  // namespace testbed
