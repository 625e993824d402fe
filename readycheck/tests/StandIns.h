// The window tests on the stand-ins of ProbeKit and the system seams.
#pragma once

#include "StandInSystem.h"
#include "WindowFixture.h"

class StandInWindowTest : public WindowTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the window with the stand-ins answering as system says, the features as mask.
    void launch(uint32_t mask);

    StandIn::System& system = StandIn::Reset();
};
