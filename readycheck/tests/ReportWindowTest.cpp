// "Copy Report" in the real window with the stand-in ProbeKit: during the reveal, and once the
// profiler has run.
#include <gmock/gmock.h>

#include <cstdlib>

#include "ReportCopy.h"
#include "StandIns.h"

namespace {

using ::testing::IsSupersetOf;

class CopyReport : public StandInWindowTest {};

TEST_F(CopyReport, TellsTheWindowsResultsAndThenTheProfilersDevices) {
    setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/amd-discrete-1g", 1);
    launch(0x47, {"Vendor \"V\" \xe2\x84\xa2", "Renderer R", "1.5 Stand-in 9"},
           [](StandIn::System& s) { s.renderers = {{64 << 20, 1, 1, false}}; });
    unsetenv("SYSTEM_PROFILER_MACHINE");
    EXPECT_EQ(outlet<Button>("oCopyReportButton")->title(), "Copy Report");
    const std::vector<std::string> during = CopyReportLines(*controller, false);
    EXPECT_THAT(during, ::testing::Contains("ReadyCheck " READYCHECK_VERSION));
    EXPECT_THAT(during, IsSupersetOf(
                            {"Manufacturer: Vendor \"V\" \xe2\x84\xa2", "Graphics card: Renderer R",
                             "Driver version: 1.5 Stand-in 9", "Video memory: 64 MB",
                             "Hardware off-screen rendering: pass", "Shadows: pass",
                             "High-resolution lighting: fail", "Anti-aliasing: fail",
                             "Basic edition: limited support", "Advanced edition: limited support",
                             "Duo edition: significant limitations", "Feature mask: 0x47",
                             "Display controllers: the display profiler is still running"}));
    EXPECT_EQ(field("oReportCopied")->stringValue(), "Report copied to the clipboard");

    ASSERT_TRUE(runReveal());
    ASSERT_TRUE(runUntil([&] { return field("oVRAM")->stringValue() != "64 MB"; }));
    const std::vector<std::string> lines = CopyReportLines(*controller, true);
    EXPECT_THAT(lines, IsSupersetOf({"Video memory: 64 MB (dedicated)", "Feature mask: 0x47"}));
    EXPECT_THAT(lines, ::testing::Contains(::testing::MatchesRegex(
                           "Display controller: .+; driver: amdgpu; memory: 1 GB")));
    EXPECT_TRUE(runUntil([&] { return field("oReportCopied")->stringValue().empty(); }));
}

}  // namespace
