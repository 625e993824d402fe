// The check without a window, with the stand-in ProbeKit and real profiler children.
#include <gmock/gmock.h>

#include <chrono>

#include "CommandLineCheck.h"
#include "NotificationCenter.h"
#include "RunLoop.h"
#include "StandIns.h"
#include "SystemVersion.h"
#include "TaskWrapper.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> RecordedProfiler() {
    return {Controller::profilerPath(), "-detailLevel", "mini", "-xml"};
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        NotificationCenter::defaultCenter().addObserver(
            this, [this](const Notification&) { system.events.emplace_back("runner"); },
            kTaskCreatedNotification, nullptr);
    }
    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(this); }

    StandIn::System& system = StandIn::Reset();
};

// The window's start-up order, the profiler started before the first probe; its output read
// into the facts.
TEST_F(CommandLine, StartsTheProfilerFirstThenProbesAndWaitsForItsDevices) {
    setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/laptop-intel-nvidia", 1);
    system.renderers = {{int64_t{256} << 20}};
    CommandLineCheck check(RecordedProfiler(), kProfilerBoundSeconds);
    const auto result = check.run();
    unsetenv("SYSTEM_PROFILER_MACHINE");
    ASSERT_TRUE(std::holds_alternative<Facts>(result));
    const Facts& facts = std::get<Facts>(result);
    EXPECT_EQ(system.events,
              (std::vector<std::string>{"runner", "VXGetDriverOpenGLFeatures, a child started",
                                        "VXGetDriverOpenGLIdentity", "VXStringArrayDispose"}));
    EXPECT_EQ(facts.renderer, "Stand-in Renderer");
    EXPECT_EQ(facts.videoMemoryBytes, int64_t{256} << 20);
    EXPECT_EQ(facts.videoMemoryKind, VideoMemoryKind::Shared) << "the last entry drives the screen";
    EXPECT_EQ(facts.profiler.state, ProfilerState::Finished);
    ASSERT_EQ(facts.displayControllers.size(), 2U);
    EXPECT_EQ(facts.displayControllers[0].vendorId, "0x10de");
    EXPECT_EQ(TaskWrapper::count(), 0);
}

// A profiler that never writes and never ends, nor lets its own child end: the check ends after
// its bound, says the devices are unknown, and leaves nothing running; a signal ends the wait at
// once. A system the gate refuses and a driver that answers nothing cannot be checked.
TEST_F(CommandLine, EndsAfterTheBoundOrSaysWhyItCannotCheck) {
    CommandLineCheck stuck({"/bin/sh", "-c", "trap '' TERM; sleep 30 & sleep 30"}, 0.5);
    const Clock::time_point start = Clock::now();
    const auto result = stuck.run();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(4)) << "the bound and the 1 s stop";
    ASSERT_TRUE(std::holds_alternative<Facts>(result));
    EXPECT_EQ(std::get<Facts>(result).profiler.state, ProfilerState::TimedOut);
    EXPECT_TRUE(std::get<Facts>(result).displayControllers.empty());
    EXPECT_EQ(TaskWrapper::count(), 0);
    // Killed at the stop's end; gone moments later.
    EXPECT_TRUE(RunLoop::main().runUntil([] { return !StandIn::HasChild(true); }, 1.0))
        << "the profiler's group is gone";

    CommandLineCheck interrupted({"/bin/sh", "-c", "sleep 30"}, kProfilerBoundSeconds);
    RunLoop::main().performAfterDelay([&] { interrupted.interrupt(); }, 0.2);
    EXPECT_EQ(std::get<std::string>(interrupted.run()), "interrupted by a signal");
    EXPECT_EQ(TaskWrapper::count(), 0);

    system.identity.reset();
    const auto noDriver = CommandLineCheck(RecordedProfiler(), kProfilerBoundSeconds).run();
    EXPECT_EQ(std::get<std::string>(noDriver), "no OpenGL driver answered on this display");
    EXPECT_EQ(TaskWrapper::count(), 0);

    system.events.clear();
    system.versionAnswer = kSystemVersionRefusalThreshold;
    const auto refused = CommandLineCheck(RecordedProfiler(), kProfilerBoundSeconds).run();
    EXPECT_EQ(std::get<std::string>(refused),
              "this operating system is too old to check: " + system.versionString);
    EXPECT_TRUE(system.events.empty()) << "nothing runs after the gate";
}

}  // namespace
