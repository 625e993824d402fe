// The video-memory line after the profiler's run, in the real window.
#include <cstdlib>

#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "StringFormat.h"
#include "WindowFixture.h"

namespace {

class VideoMemoryLine : public WindowTest {
protected:
    void start() {
        launch(0x1F, {}, [](StandIn::System& system) {
            system.renderers = {{64 << 20, 1, 1, false}};
        });
        RunLoop::main().cancelDelayedCalls();
    }
    void refine(const std::string& xml) {
        controller->refineVideoMemoryLine(reinterpret_cast<const uint8_t*>(xml.data()), xml.size());
    }
    std::string line() { return field("oVRAM")->stringValue(); }
};

const std::string kSharedReport =
    "<plist version=\"1.0\"><array><dict><key>_dataType</key><string>SPDisplaysDataType</string>"
    "<key>_items</key><array><dict><key>spdisplays_vram</key>"
    "<string>spdisplays_integrated_vram</string></dict></array></dict></array></plist>";

TEST_F(VideoMemoryLine, TheSharedFormatWrapsTheFirstText) {
    start();
    EXPECT_EQ(line(), "64 MB");
    refine(kSharedReport);
    EXPECT_EQ(line(), StringWithFormat(LocalizedString("VRAMShared"), {"64 MB"}));
    EXPECT_NE(line().find("64 MB"), std::string::npos);
    EXPECT_NE(line(), "64 MB");
}

TEST_F(VideoMemoryLine, AFailedLaunchOrNoReportLeavesTheLine) {
    start();
    controller->processFinished(nullptr, false);
    refine("");
    refine("garbage");
    EXPECT_EQ(line(), "64 MB");
}

// The profiler where the program looks for it (its test build), reading a recorded machine.
TEST_F(VideoMemoryLine, TheInstalledProfilerRefinesTheLine) {
    setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/amd-discrete-1g", 1);
    start();
    unsetenv("SYSTEM_PROFILER_MACHINE");
    const std::string dedicated = StringWithFormat(LocalizedString("VRAMDedicated"), {"64 MB"});
    EXPECT_TRUE(runUntil([&] { return line() == dedicated; })) << line();
}

}  // namespace
