// Start-up: the gate and the video memory probe.
#include "GetVRAM.h"
#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "StandIns.h"
#include "StringFormat.h"
#include "SystemVersion.h"

namespace {

constexpr int64_t kMiB = int64_t{1} << 20;

// Rows: the renderers, the size, the main renderer's accelerated flag, and whether the query fails.
TEST(GetVRAM, FirstAcceleratedWindowCapableRendererAndTheMainRenderersFlag) {
    for (const auto& [renderers, size, mainAccelerated, queryFails] : std::vector<
             std::tuple<std::vector<StandIn::Renderer>, int64_t, std::optional<bool>, bool>>{
             {{{64 * kMiB, 0}, {256 * kMiB}}, 256 * kMiB, false, false},
             {{{64 * kMiB, 1, 0}, {128 * kMiB}}, 128 * kMiB, true, false},
             {{{64 * kMiB, 1, 1, true}, {32 * kMiB}}, 32 * kMiB, std::nullopt, false},
             {{{64 * kMiB, 0}}, 0, false, false},
             {{{64 * kMiB}}, 0, std::nullopt, true}}) {
        StandIn::System& system = StandIn::Reset();
        system.renderers = renderers;
        system.rendererQueryFails = queryFails;
        std::optional<bool> accelerated;
        EXPECT_EQ(GetVRAM(&accelerated), size);
        EXPECT_EQ(accelerated, mainAccelerated) << size;
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
