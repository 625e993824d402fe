// Start-up: the gate and the video memory probe.
#include "GetVRAM.h"
#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "StandIns.h"
#include "StringFormat.h"
#include "SystemVersion.h"

namespace {

constexpr int64_t kMiB = int64_t{1} << 20;

struct VRAMCase {
    std::vector<StandIn::Renderer> renderers;
    int64_t size;
    std::optional<bool> mainAccelerated;
    bool queryFails = false;
};

TEST(GetVRAM, FirstAcceleratedWindowCapableRendererAndTheMainRenderersFlag) {
    const VRAMCase cases[] = {
        {{{64 * kMiB, 0}, {256 * kMiB}}, 256 * kMiB, false},
        {{{64 * kMiB, 1, 0}, {128 * kMiB}}, 128 * kMiB, true},
        {{{64 * kMiB, 1, 1, true}, {32 * kMiB}}, 32 * kMiB, std::nullopt},
        {{{64 * kMiB, 0}}, 0, false},
        {{{64 * kMiB}}, 0, std::nullopt, true},
    };
    for (const VRAMCase& c : cases) {
        StandIn::System& system = StandIn::Reset();
        system.renderers = c.renderers;
        system.rendererQueryFails = c.queryFails;
        std::optional<bool> accelerated;
        EXPECT_EQ(GetVRAM(&accelerated), c.size);
        EXPECT_EQ(accelerated, c.mainAccelerated) << c.size;
        EXPECT_EQ(system.rendererInfoAlive, 0) << "the information is released";
    }
}

using StartUp = StandInWindowTest;

TEST_F(StartUp, TheGateRefusesUpToTheThresholdWithTheSystemsVersionString) {
    for (const int32_t answer :
         {kSystemVersionRefusalThreshold + 1, kSystemVersionRefusalThreshold}) {
        RunLoop::main().resetStopped();
        system.events.clear();
        system.versionAnswer = answer;
        launch(0x1F);
        RunLoop::main().cancelDelayedCalls();
    }
    ASSERT_EQ(alerts.size(), 1U) << "only the old system is refused; answered by Return";
    EXPECT_EQ(alerts[0].message, LocalizedString("OS_old"));
    EXPECT_EQ(alerts[0].detail,
              StringWithFormat(LocalizedString("OS_old_detail"), {system.versionString}));
    EXPECT_TRUE(RunLoop::main().stopped()) << "the application terminates";
    EXPECT_TRUE(system.events.empty()) << "no runner and no probe after the gate";
    EXPECT_FALSE(outlet<Window>("oResultWindow")->isVisible());
}

TEST(SystemVersion, KernelReleaseAsBinaryCodedDecimal) {
    EXPECT_EQ(SystemVersionFromRelease("6.12.3"), 0x0693) << "one digit caps at 9";
    EXPECT_LE(SystemVersionFromRelease("3.1.10"), kSystemVersionRefusalThreshold);
    EXPECT_GT(SystemVersionFromRelease("3.2.0"), kSystemVersionRefusalThreshold);
}

}  // namespace
