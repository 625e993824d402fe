// Start-up and "Copy Report" in the real window with the stand-in ProbeKit: during the reveal, and
// once the profiler has run.
#include <gmock/gmock.h>
#include <gtk/gtk.h>

#include <cstdlib>

#include "RunLoop.h"
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
    const std::vector<std::string> lines = copyReport(true);
    EXPECT_THAT(lines, IsSupersetOf(
                           {"ReadyCheck " READYCHECK_VERSION, "Video memory: 128 MB (dedicated)"}));
    EXPECT_THAT(lines,
                ::testing::Contains(::testing::MatchesRegex(
                    "Display controller driving the screen: .+ \\(Advanced Micro Devices.+, "
                    "PCI 0x1002:0x[0-9a-f]{4} at 0000:.+\\); driver: amdgpu; memory: 1 GB")));
}

// The confirmation has room of its own: nothing moves, and no button leaves a small screen.
TEST_F(CopyReport, TheConfirmationKeepsTheWindowsSizeInEnglishAndGerman) {
    const std::string saved = g_getenv("LC_ALL") != nullptr ? g_getenv("LC_ALL") : "";
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        g_setenv("LC_ALL", locale, TRUE);
        launch(0x1F);
        RunLoop::main().cancelDelayedCalls();  // the reveal's marks take their own room
        const auto size = [&] {
            runUntil([] { return false; }, 0.2);
            GdkWindow* window = gtk_widget_get_window(
                static_cast<GtkWidget*>(outlet<Window>("oResultWindow")->widget()));
            return std::pair(gdk_window_get_width(window), gdk_window_get_height(window));
        };
        const auto before = size();
        copyReport(false);
        EXPECT_NE(field("oReportCopied")->stringValue(), "") << locale;
        EXPECT_EQ(size(), before) << locale;
    }
    g_setenv("LC_ALL", saved.c_str(), TRUE);
}

}  // namespace
