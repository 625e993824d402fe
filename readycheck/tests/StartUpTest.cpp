// Start-up: the gate, the profiler launch, the probes, the first filling of the window.
#include <gtk/gtk.h>

#include "GetVRAM.h"
#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "StandIns.h"
#include "StringFormat.h"
#include "SystemVersion.h"

namespace {

constexpr int64_t kMiB = int64_t{1} << 20;
constexpr int64_t kGiB = int64_t{1} << 30;

using StartUp = StandInWindowTest;

TEST_F(StartUp, RunnerThenProbesThenTheCentredWindowWithMarksHidden) {
    launch(0x1F, {}, [](StandIn::System& s) { s.renderers = {{3 * kGiB, 1, 1, false}}; });
    EXPECT_EQ(
        system.events,
        (std::vector<std::string>{
            "task in /: " + Controller::profilerPath() + " -detailLevel mini -xml",
            "VXGetDriverOpenGLFeatures", "VXGetDriverOpenGLIdentity", "VXStringArrayDispose"}));
    for (const char* mark :
         {"oHWOffCheck", "oShadowCheck", "oHiResLightCheck", "oAntiAliasCheck"}) {
        EXPECT_TRUE(field(mark)->isHidden()) << mark;
    }
    EXPECT_TRUE(outlet<Button>("oDuoBangButton")->isHidden());
    EXPECT_EQ(field("oCardManufacturer")->stringValue(), "Stand-in Vendor");
    EXPECT_EQ(field("oCardName")->stringValue(), "Stand-in Renderer");
    EXPECT_EQ(field("oDriverVersion")->stringValue(), "2.1 STAND-IN");
    EXPECT_EQ(field("oVRAM")->stringValue(), "3072 MB");
    runUntil([] { return false; }, 0.2);
    auto* window = GTK_WINDOW(outlet<Window>("oResultWindow")->widget());
    ASSERT_TRUE(gtk_widget_get_mapped(GTK_WIDGET(window)));
    int x = 0, y = 0, width = 0, height = 0;
    gtk_window_get_position(window, &x, &y);
    gtk_window_get_size(window, &width, &height);
    GdkRectangle area{};
    gdk_monitor_get_geometry(gdk_display_get_primary_monitor(gdk_display_get_default()), &area);
    EXPECT_NEAR(x + width / 2.0, area.x + area.width / 2.0, 8);
    EXPECT_NEAR(y + height / 2.0, area.y + area.height / 2.0, 40);
}

TEST_F(StartUp, MissingIdentityItemsShowAsUnknown) {
    StandIn::Identity partial;
    partial.version.reset();
    launch(0, partial);
    EXPECT_EQ(field("oCardName")->stringValue(), "Stand-in Renderer");
    EXPECT_EQ(field("oDriverVersion")->stringValue(), LocalizedString("IdentityUnknown"));
    launch(0, {.null = true});
    EXPECT_EQ(field("oCardManufacturer")->stringValue(), LocalizedString("IdentityUnknown"));
    EXPECT_TRUE(outlet<Window>("oResultWindow")->isVisible());
}

TEST(VideoMemoryText, WholeMegabytesTruncatedTowardZero) {
    EXPECT_EQ(VideoMemoryText(268435456), "256 MB");
    EXPECT_EQ(VideoMemoryText(1048575), "0 MB");
    EXPECT_EQ(VideoMemoryText(134217729), "128 MB");
    EXPECT_EQ(VideoMemoryText(80 * kGiB), "81920 MB");
}

struct VRAMCase {
    std::vector<StandIn::Renderer> renderers;
    int64_t size;
    std::optional<bool> mainAccelerated;
    bool queryFails = false;
};

TEST(GetVRAM, FirstAcceleratedWindowCapableRendererAndTheMainRenderersFlag) {
    const VRAMCase cases[] = {
        {{{64 * kMiB, 0, 1, false}, {256 * kMiB, 1, 1, false}}, 256 * kMiB, false},
        {{{64 * kMiB, 1, 0, false}, {128 * kMiB, 1, 1, false}}, 128 * kMiB, true},
        {{{64 * kMiB, 1, 1, true}, {32 * kMiB, 1, 1, false}}, 32 * kMiB, std::nullopt},
        {{{64 * kMiB, 0, 1, false}}, 0, false},
        {{}, 0, std::nullopt},
        {{{64 * kMiB, 1, 1, false}}, 0, std::nullopt, true},
        {{{80 * kGiB, 1, 1, false}}, 80 * kGiB, true},
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

TEST_F(StartUp, TheGateRefusesUpToTheThresholdWithTheSystemsVersionString) {
    for (const int32_t answer :
         {kSystemVersionRefusalThreshold + 1, kSystemVersionRefusalThreshold}) {
        RunLoop::main().resetStopped();
        launch(0x1F, {}, [&](StandIn::System& s) {
            s.versionAnswer = answer;
            s.versionString = "Linux 3.1.9-ancient";
        });
        RunLoop::main().cancelDelayedCalls();
    }
    ASSERT_EQ(alerts.size(), 1U) << "only the old system is refused; answered by Return";
    EXPECT_EQ(alerts[0].message, LocalizedString("OS_old"));
    EXPECT_EQ(alerts[0].detail,
              StringWithFormat(LocalizedString("OS_old_detail"), {"Linux 3.1.9-ancient"}));
    EXPECT_EQ(alerts[0].buttons, 1U);
    EXPECT_TRUE(RunLoop::main().stopped()) << "the application terminates";
    EXPECT_TRUE(system.events.empty()) << "no runner and no probe after the gate";
    EXPECT_FALSE(outlet<Window>("oResultWindow")->isVisible());
}

TEST(SystemVersion, KernelReleaseAsBinaryCodedDecimal) {
    EXPECT_EQ(SystemVersionFromRelease("6.1.0-18-amd64"), 0x0610);
    EXPECT_EQ(SystemVersionFromRelease("10.3.9"), 0x1039);
    EXPECT_EQ(SystemVersionFromRelease("6.12.3"), 0x0693) << "one digit caps at 9";
    EXPECT_EQ(SystemVersionFromRelease("garbage"), 0);
    EXPECT_LE(SystemVersionFromRelease("3.1.10"), kSystemVersionRefusalThreshold);
    EXPECT_GT(SystemVersionFromRelease("3.2.0"), kSystemVersionRefusalThreshold);
}

}  // namespace
