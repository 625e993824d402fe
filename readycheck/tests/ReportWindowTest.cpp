// Start-up and "Copy Report" in the real window with the stand-in ProbeKit: during the reveal, and
// once the profiler has run.
#include <gmock/gmock.h>

#include <cstdlib>

#include "StandIns.h"

namespace {

using ::testing::IsSupersetOf;
using CopyReport = StandInWindowTest;

TEST_F(CopyReport, StartsTheRunnerThenProbesAndTellsTheResultsThenTheDevices) {
    setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/amd-discrete-1g", 1);
    system.identity = {"Vendor \"V\" \xe2\x84\xa2", "Renderer R", "1.5 Stand-in 9"};
    system.renderers = {{(128 << 20) + (1 << 20) - 1}};  // whole megabytes, truncated
    launch(0x47);
    unsetenv("SYSTEM_PROFILER_MACHINE");
    EXPECT_EQ(system.events,
              (std::vector<std::string>{
                  "task in /: " + Controller::profilerPath() + " -detailLevel mini -xml",
                  "VXGetDriverOpenGLFeatures, a child started", "VXGetDriverOpenGLIdentity",
                  "VXStringArrayDispose"}));
    EXPECT_THAT(
        copyReport(false),
        IsSupersetOf({"Manufacturer: Vendor \"V\" \xe2\x84\xa2", "Graphics card: Renderer R",
                      "Driver version: 1.5 Stand-in 9", "Video memory: 128 MB",
                      "Hardware off-screen rendering: pass", "Shadows: pass",
                      "High-resolution lighting: fail", "Anti-aliasing: fail",
                      "Duo edition: significant limitations", "Feature mask: 0x47",
                      "Display controllers: the display profiler is still running"}));
    EXPECT_EQ(field("oReportCopied")->stringValue(), "Report copied to the clipboard");
    ASSERT_TRUE(runReveal());
    ASSERT_TRUE(runUntil([&] { return field("oVRAM")->stringValue() != "128 MB"; }));
    ASSERT_TRUE(runUntil([&] { return controller->facts().otherCards.empty(); }));
    EXPECT_TRUE(outlet<CardRowsView>("oOtherCards")->isHidden()) << "one card: no section";
    const std::vector<std::string> lines = copyReport(true);
    EXPECT_THAT(lines, IsSupersetOf(
                           {"ReadyCheck " READYCHECK_VERSION, "Video memory: 128 MB (dedicated)"}));
    EXPECT_THAT(lines,
                ::testing::Contains(::testing::MatchesRegex(
                    "Display controller driving the screen: .+ \\(Advanced Micro Devices.+, "
                    "PCI 0x1002:0x[0-9a-f]{4} at 0000:.+\\); driver: amdgpu; memory: 1 GB")));
}

}  // namespace
