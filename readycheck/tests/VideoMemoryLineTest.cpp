// The video-memory line after the profiler's run, in the real window.
#include <cstdlib>

#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "StandIns.h"
#include "StringFormat.h"
#include "SysfsFixture.h"

namespace {

class VideoMemoryLine : public StandInWindowTest {
protected:
    void start() {
        launch(0x1F, {}, [](StandIn::System& s) { s.renderers = {{64 << 20, 1, 1, false}}; });
        RunLoop::main().cancelDelayedCalls();
    }
    std::string line() { return field("oVRAM")->stringValue(); }
};

// The profiler installed beside the program, reading a fixture sysfs tree.
TEST_F(VideoMemoryLine, AFailedLaunchLeavesTheFirstTextTheInstalledProfilerWrapsIt) {
    const SysfsFixture sysfs(
        {{"0000:03:00.0", "0x1002", "0x73bf", "0x030000", "amdgpu", "8589934592"}});
    setenv("SYSTEM_PROFILER_SYSFS_ROOT", sysfs.path().c_str(), 1);
    start();
    unsetenv("SYSTEM_PROFILER_SYSFS_ROOT");
    controller->processFinished(nullptr, false);
    EXPECT_EQ(line(), "64 MB") << "a failed launch leaves the first text";
    const std::string dedicated = StringWithFormat(LocalizedString("VRAMDedicated"), {"64 MB"});
    EXPECT_TRUE(runUntil([&] { return line() == dedicated; })) << line();
    EXPECT_NE(dedicated, "64 MB");
}

}  // namespace
