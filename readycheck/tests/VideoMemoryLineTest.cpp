// The video-memory line after the profiler's run, in the real window.
#include <cstdlib>

#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "StandIns.h"
#include "StringFormat.h"

namespace {

class VideoMemoryLine : public StandInWindowTest {
protected:
    void start() {
        launch(0x1F, {}, [](StandIn::System& s) { s.renderers = {{64 << 20, 1, 1, false}}; });
        RunLoop::main().cancelDelayedCalls();
    }
    std::string line() { return field("oVRAM")->stringValue(); }
};

// The profiler where the program looks for it (its test build), reading a recorded machine.
TEST_F(VideoMemoryLine, AFailedLaunchLeavesTheFirstTextTheInstalledProfilerWrapsIt) {
    setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/amd-discrete-1g", 1);
    start();
    unsetenv("SYSTEM_PROFILER_MACHINE");
    controller->processFinished(nullptr, false);
    EXPECT_EQ(line(), "64 MB") << "a failed launch leaves the first text";
    const std::string dedicated = StringWithFormat(LocalizedString("VRAMDedicated"), {"64 MB"});
    EXPECT_TRUE(runUntil([&] { return line() == dedicated; })) << line();
    EXPECT_NE(dedicated, "64 MB");
}

}  // namespace
