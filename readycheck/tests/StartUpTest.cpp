// Start-up: the gate, the profiler launch, the probes, the first filling of the window.
#include <gtk/gtk.h>

#include "GetVRAM.h"
#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "SystemVersion.h"
#include "WindowFixture.h"

namespace {

constexpr int64_t kGiB = int64_t{1} << 30;

using StartUp = WindowTest;

TEST_F(StartUp, RunnerStartsBeforeTheProbesThenTheWindowShowsWithMarksHidden) {
    launch(0x1F);
    EXPECT_EQ(StandIn::Events(),
              (std::vector<std::string>{"taskCreated", "VXGetDriverOpenGLFeatures",
                                        "VXGetDriverOpenGLIdentity", "VXStringArrayDispose"}));
    EXPECT_EQ(taskArguments, (std::vector<std::string>{Controller::profilerPath(), "-detailLevel",
                                                       "mini", "-xml"}));
    EXPECT_EQ(taskDirectory, "/");
    EXPECT_TRUE(outlet<Window>("oResultWindow")->isVisible());
    for (const char* mark :
         {"oHWOffCheck", "oShadowCheck", "oHiResLightCheck", "oAntiAliasCheck"}) {
        EXPECT_TRUE(field(mark)->isHidden()) << mark;
    }
    EXPECT_TRUE(outlet<Button>("oDuoBangButton")->isHidden());
    EXPECT_EQ(field("oCardManufacturer")->stringValue(), "Stand-in Vendor");
    EXPECT_EQ(field("oCardName")->stringValue(), "Stand-in Renderer");
    EXPECT_EQ(field("oDriverVersion")->stringValue(), "2.1 STAND-IN");
    EXPECT_EQ(controller->featuresMask(), 0x1F);
}

TEST_F(StartUp, TheWindowIsCentred) {
    launch(0x1F);
    runUntil([] { return false; }, 0.2);
    auto* window = GTK_WINDOW(outlet<Window>("oResultWindow")->widget());
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    gtk_window_get_position(window, &x, &y);
    gtk_window_get_size(window, &width, &height);
    GdkRectangle area{};
    gdk_monitor_get_geometry(gdk_display_get_primary_monitor(gdk_display_get_default()), &area);
    EXPECT_NEAR(x + width / 2, area.x + area.width / 2, 8);
    EXPECT_NEAR(y + height / 2, area.y + area.height / 2, 40);
}

TEST_F(StartUp, AMissingIdentityStillShowsTheWindow) {
    StandIn::Identity none;
    none.null = true;
    launch(0, none);
    EXPECT_TRUE(outlet<Window>("oResultWindow")->isVisible());
    EXPECT_EQ(field("oCardManufacturer")->stringValue(), LocalizedString("IdentityUnknown"));
    EXPECT_NE(LocalizedString("IdentityUnknown"), "IdentityUnknown");
}

TEST_F(StartUp, FewerThanThreeIdentityStringsLeaveTheRestUnknown) {
    StandIn::Identity partial;
    partial.version.reset();
    launch(0, partial);
    EXPECT_EQ(field("oCardName")->stringValue(), "Stand-in Renderer");
    EXPECT_EQ(field("oDriverVersion")->stringValue(), LocalizedString("IdentityUnknown"));
}

TEST_F(StartUp, VideoMemoryLineShowsWholeMegabytesOfA64BitSize) {
    launch(0x1F, {}, [](StandIn::System& system) { system.renderers = {{3 * kGiB, 1, 1, false}}; });
    EXPECT_EQ(field("oVRAM")->stringValue(), "3072 MB");
}

TEST(VideoMemoryText, TruncatesTowardZero) {
    EXPECT_EQ(VideoMemoryText(268435456), "256 MB");
    EXPECT_EQ(VideoMemoryText(1048575), "0 MB");
    EXPECT_EQ(VideoMemoryText(134217729), "128 MB");
    EXPECT_EQ(VideoMemoryText(3 * kGiB), "3072 MB");
    EXPECT_EQ(VideoMemoryText(80 * kGiB), "81920 MB");
}

int64_t VRAMOf(std::vector<StandIn::Renderer> renderers, bool queryFails = false) {
    StandIn::Reset(0);
    StandIn::CurrentSystem().renderers = std::move(renderers);
    StandIn::CurrentSystem().rendererQueryFails = queryFails;
    const int64_t size = GetVRAM();
    EXPECT_EQ(StandIn::CurrentSystem().rendererInfoAlive, 0) << "the information is released";
    return size;
}

TEST(GetVRAM, TakesTheFirstAcceleratedWindowCapableRenderer) {
    EXPECT_EQ(VRAMOf({{64 << 20, 0, 1, false}, {256 << 20, 1, 1, false}}), 256 << 20);
    EXPECT_EQ(VRAMOf({{64 << 20, 1, 0, false}, {128 << 20, 1, 1, false}}), 128 << 20)
        << "an accelerated renderer that cannot draw to windows is passed over";
    EXPECT_EQ(VRAMOf({{64 << 20, 1, 1, true}, {32 << 20, 1, 1, false}}), 32 << 20)
        << "a renderer reporting an error is skipped";
    EXPECT_EQ(VRAMOf({{64 << 20, 0, 1, false}}), 0);
    EXPECT_EQ(VRAMOf({}), 0);
    EXPECT_EQ(VRAMOf({{64 << 20, 1, 1, false}}, true), 0);
    EXPECT_EQ(VRAMOf({{80 * kGiB, 1, 1, false}}), 80 * kGiB);
}

TEST_F(StartUp, AnOldSystemIsRefusedWithItsVersionString) {
    launch(0x1F, {}, [](StandIn::System& system) {
        system.versionAnswer = kSystemVersionRefusalThreshold;
        system.versionString = "Linux 3.1.9-ancient";
    });
    ASSERT_EQ(alerts.size(), 1U) << "answered by Return";
    EXPECT_EQ(alerts[0].message, LocalizedString("OS_old"));
    EXPECT_NE(alerts[0].detail.find("Linux 3.1.9-ancient"), std::string::npos);
    EXPECT_EQ(alerts[0].detail.find("%@"), std::string::npos);
    EXPECT_EQ(alerts[0].buttons, 1U);
    EXPECT_TRUE(RunLoop::main().stopped()) << "the application terminates";
    EXPECT_TRUE(StandIn::Events().empty()) << "no runner and no probe after the gate";
    EXPECT_FALSE(outlet<Window>("oResultWindow")->isVisible());
}

TEST_F(StartUp, TheNextVersionPasses) {
    launch(0x1F, {}, [](StandIn::System& system) {
        system.versionAnswer = kSystemVersionRefusalThreshold + 1;
    });
    EXPECT_TRUE(alerts.empty());
    EXPECT_TRUE(outlet<Window>("oResultWindow")->isVisible());
}

TEST(SystemVersion, KernelReleaseAsBinaryCodedDecimal) {
    EXPECT_EQ(SystemVersionFromRelease("6.1.0-18-amd64"), 0x0610);
    EXPECT_EQ(SystemVersionFromRelease("10.4.0"), 0x1040);
    EXPECT_EQ(SystemVersionFromRelease("10.3.9"), 0x1039);
    EXPECT_EQ(SystemVersionFromRelease("6.12.3"), 0x0693) << "one digit caps at 9";
    EXPECT_EQ(SystemVersionFromRelease("3.2"), 0x0320);
    EXPECT_EQ(SystemVersionFromRelease("garbage"), 0);
    // Refused at or below the threshold: 3.1.x is refused, 3.2 passes.
    EXPECT_LE(SystemVersionFromRelease("3.1.10"), kSystemVersionRefusalThreshold);
    EXPECT_GT(SystemVersionFromRelease("3.2.0"), kSystemVersionRefusalThreshold);
}

}  // namespace
