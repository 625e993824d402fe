// The check without a window, with the stand-in ProbeKit and real profiler children.
#include <glib.h>
#include <gmock/gmock.h>

#include <chrono>
#include <cstdio>

#include "CommandLineCheck.h"
#include "FactRecording.h"
#include "FactsJson.h"
#include "NotificationCenter.h"
#include "OtherCardTexts.h"
#include "Processes.h"
#include "RunLoop.h"
#include "StandIns.h"
#include "SystemVersion.h"
#include "TaskWrapper.h"
#include "WaitFor.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> RecordedProfiler() {
    return {Controller::profilerPath(), "-detailLevel", "mini", "-xml"};
}

// A helper that warns on standard error, as Mesa does, then answers with the card; the
// answer's texts may name variables of its environment ("${DRI_PRIME}").
std::vector<std::string> AnsweringHelper(const std::string& renderer, Rendering rendering,
                                         int32_t mask) {
    CardFacts card;
    RecordDriver(card, mask, {"Vendor", renderer, "4.6", true});
    card.rendering = rendering;
    return {"/bin/sh", "-c", "echo 'a driver warning' >&2; cat <<EOF\n" + CardJson(card) + "EOF\n"};
}

std::vector<std::string> Helper(const std::string& script) {
    return {"/bin/sh", "-c", script};
}

// A profiler that lists count devices on Mesa's drivers, the last driving the screen.
std::vector<std::string> ProfilerListing(int count) {
    std::string xml =
        "<plist version=\"1.0\"><array><dict><key>_dataType</key>"
        "<string>SPDisplaysDataType</string><key>_items</key><array>";
    for (int i = 1; i <= count; ++i) {
        char address[16];
        std::snprintf(address, sizeof address, "0000:%02x:00.0", i);
        xml += "<dict><key>_name</key><string>Card " + std::to_string(i) +
               "</string><key>sppci_bus</key><string>" + address +
               "</string><key>spdisplays_driver</key><string>amdgpu</string></dict>";
    }
    return Helper("cat <<'EOF'\n" + xml + "</array></dict></array></plist>\nEOF\n");
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        NotificationCenter::defaultCenter().addObserver(
            this, [this](const Notification&) { system.events.emplace_back("runner"); },
            kTaskCreatedNotification, nullptr);
        NotificationCenter::defaultCenter().addObserver(
            this, [this](const Notification&) { system.events.emplace_back("runner gone"); },
            kTaskDestroyedNotification, nullptr);
        setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/laptop-intel-nvidia", 1);
    }
    void TearDown() override {
        unsetenv("SYSTEM_PROFILER_MACHINE");
        NotificationCenter::defaultCenter().removeObserver(this);
    }

    StandIn::System& system = StandIn::Reset();
};

// The window's start-up order, the profiler started before the first probe; its output read
// into the facts. Without switcheroo-control, its other device is probed once the profiler has
// ended, with NVIDIA's offload variables added, its driver's warnings kept out of the answer.
TEST_F(CommandLine, StartsTheProfilerFirstThenProbesAndWaitsForItsDevicesThenTheOtherCard) {
    system.renderers = {{int64_t{256} << 20}};
    CommandLineCheck check(RecordedProfiler(), kProfilerBoundSeconds,
                           AnsweringHelper("GeForce ${__NV_PRIME_RENDER_OFFLOAD} "
                                           "${__GLX_VENDOR_LIBRARY_NAME} ${__VK_LAYER_NV_optimus}",
                                           Rendering::Hardware, 0x1F),
                           kCardProbeBoundSeconds);
    const auto result = check.run();
    ASSERT_TRUE(std::holds_alternative<Facts>(result));
    const Facts& facts = std::get<Facts>(result);
    EXPECT_EQ(system.events,
              (std::vector<std::string>{"runner", "VXGetDriverOpenGLFeatures, a child started",
                                        "VXGetDriverOpenGLIdentity", "VXStringArrayDispose",
                                        "runner gone", "runner", "runner gone"}));
    ASSERT_EQ(facts.otherCards.size(), 1U);
    const OtherCard& card = facts.otherCards[0];
    EXPECT_EQ(card.name, "NVIDIA Corporation GA107M [GeForce RTX 3050 Mobile]");
    EXPECT_EQ(card.status, CardStatus::Checked);
    EXPECT_EQ(card.facts.renderer, "GeForce 1 nvidia NVIDIA_only");
    EXPECT_EQ(card.facts.featuresMask, 0x1F);
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
// once, and output without end its bound of output. A system the gate refuses and a driver that
// answers nothing cannot be checked.
TEST_F(CommandLine, EndsAfterTheBoundOrSaysWhyItCannotCheck) {
    CommandLineCheck stuck({"/bin/sh", "-c", "trap '' TERM; sleep 30 & sleep 30"}, 0.5,
                           Helper("exit 3"), 0.5);
    const Clock::time_point start = Clock::now();
    const auto result = stuck.run();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(8)) << "long before the children end";
    ASSERT_TRUE(std::holds_alternative<Facts>(result));
    EXPECT_EQ(std::get<Facts>(result).profiler.state, ProfilerState::TimedOut);
    EXPECT_TRUE(std::get<Facts>(result).displayControllers.empty());
    EXPECT_EQ(TaskWrapper::count(), 0);
    // Killed at the stop's end; gone moments later.
    EXPECT_TRUE(RunLoop::main().runUntil([] { return !HasChild(true); }, 1.0))
        << "the profiler's group is gone";

    CommandLineCheck interrupted({"/bin/sh", "-c", "sleep 30"}, kProfilerBoundSeconds,
                                 Helper("exit 3"), 0.5);
    RunLoop::main().performAfterDelay([&] { interrupted.interrupt(); }, 0.2);
    EXPECT_EQ(std::get<std::string>(interrupted.run()), "interrupted by a signal");
    EXPECT_EQ(TaskWrapper::count(), 0);

    const Clock::time_point writing = Clock::now();
    const auto endless =
        CommandLineCheck({"/usr/bin/yes"}, kProfilerBoundSeconds, Helper("exit 3"), 0.5).run();
    EXPECT_LT(Clock::now() - writing, std::chrono::seconds(5));
    EXPECT_EQ(std::get<Facts>(endless).profiler.state, ProfilerState::OutputTooLarge);
    EXPECT_TRUE(std::get<Facts>(endless).displayControllers.empty());
    EXPECT_EQ(TaskWrapper::count(), 0);
    EXPECT_FALSE(HasChild(true));

    system.identity.reset();
    const auto noDriver =
        CommandLineCheck(RecordedProfiler(), kProfilerBoundSeconds, Helper("exit 3"), 0.5).run();
    EXPECT_EQ(std::get<std::string>(noDriver), "no OpenGL driver answered on this display");
    EXPECT_EQ(TaskWrapper::count(), 0);

    system.events.clear();
    system.versionAnswer = kSystemVersionRefusalThreshold;
    const auto refused =
        CommandLineCheck(RecordedProfiler(), kProfilerBoundSeconds, Helper("exit 3"), 0.5).run();
    EXPECT_EQ(std::get<std::string>(refused),
              "this operating system is too old to check: " + system.versionString);
    EXPECT_TRUE(system.events.empty()) << "nothing runs after the gate";
}

// A helper that hangs, crashes, prints garbage or too much, or cannot start leaves its card
// failed, within its bound and with nothing left running; an answer drawn by the main card, or
// in software where it draws in hardware, is offload that did not take.
TEST_F(CommandLine, ACardWithoutAnAnswerOfItsOwnIsFailedOrNotReachable) {
    const struct {
        std::vector<std::string> helper;
        CardStatus status;
        CardCause cause;
        std::string detail;
    } rows[] = {
        {Helper("trap '' TERM; echo '{'; sleep 30"), CardStatus::Failed, CardCause::TimedOut, ""},
        {Helper("kill -SEGV $$"), CardStatus::Failed, CardCause::Crashed, "11 (SIGSEGV)"},
        {Helper("echo '{\"renderer\": garb'"), CardStatus::Failed, CardCause::Unreadable, ""},
        {Helper("yes"), CardStatus::Failed, CardCause::Unreadable, ""},
        {Helper("exit 3"), CardStatus::Failed, CardCause::ExitedWithError, "3"},
        {{"/nonexistent/probe_card"},
         CardStatus::Failed,
         CardCause::LaunchFailed,
         "The program could not be started: launch path not accessible: /nonexistent/probe_card"},
        {AnsweringHelper("Stand-in Renderer", Rendering::Hardware, 0x3F), CardStatus::NotReachable,
         CardCause::OffloadNotSetUp, ""},
        {AnsweringHelper("llvmpipe", Rendering::Software, 0x3F), CardStatus::NotReachable,
         CardCause::DriverMissing, ""},
    };
    testing::internal::CaptureStderr();
    for (const auto& row : rows) {
        const Clock::time_point start = Clock::now();
        const auto result =
            CommandLineCheck(RecordedProfiler(), kProfilerBoundSeconds, row.helper, 0.5).run();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(6)) << row.helper.back();
        ASSERT_EQ(std::get<Facts>(result).otherCards.size(), 1U);
        const OtherCard& card = std::get<Facts>(result).otherCards[0];
        EXPECT_EQ(card.status, row.status) << row.helper.back();
        EXPECT_EQ(card.cause, row.cause) << row.helper.back();
        EXPECT_EQ(card.detail, row.detail) << row.helper.back();
        EXPECT_EQ(card.facts, CardFacts{}) << "no result of its own";
        EXPECT_EQ(TaskWrapper::count(), 0);
        // Killed at the stop's end; gone moments later.
        EXPECT_TRUE(WaitFor([] { return !HasChild(true); }, 1.0)) << row.helper.back();
    }
    testing::internal::GetCapturedStderr();
}

// Many cards: a probe that hangs is cut at the whole check's bound, before its own, and the cards
// after it are not checked in time; the check ends near its bound, nothing left running.
TEST_F(CommandLine, TheCardsCheckEndsAtItsWholeBound) {
    std::vector<std::string> helper =
        AnsweringHelper("Radeon ${DRI_PRIME}", Rendering::Hardware, 0x1F);
    helper.back() = "[ $DRI_PRIME = pci-0000_01_00_0 ] || sleep 30; " + helper.back();
    const Clock::time_point start = Clock::now();
    const auto result =
        CommandLineCheck(ProfilerListing(12), kProfilerBoundSeconds, helper, 5.0, 2.0).run();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(4)) << "the probe's own bound is 5 s";
    const std::vector<OtherCard>& cards = std::get<Facts>(result).otherCards;
    ASSERT_EQ(cards.size(), 11U);
    EXPECT_EQ(cards[0].status, CardStatus::Checked);
    EXPECT_EQ(cards[0].facts.renderer, "Radeon pci-0000_01_00_0");
    for (std::size_t i = 1; i < cards.size(); ++i) {
        EXPECT_EQ(cards[i].status, CardStatus::Failed) << cards[i].name;
        EXPECT_EQ(cards[i].cause, CardCause::OutOfTime) << cards[i].name;
    }
    EXPECT_EQ(CardStateText(cards.back()),
              "Could not be checked: the time for checking the other cards ran out");
    EXPECT_THAT(FactsJson(std::get<Facts>(result)),
                ::testing::HasSubstr("\"reason\" : \"not_checked_in_time\""));
    EXPECT_EQ(TaskWrapper::count(), 0);
    EXPECT_FALSE(HasChild(true));
}

// Names from a PCI database in Latin-1 reach the facts, and the JSON, as UTF-8.
TEST_F(CommandLine, ALatin1DatabaseGivesUtf8) {
    setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/latin1-ids", 1);
    const auto result =
        CommandLineCheck(RecordedProfiler(), kProfilerBoundSeconds, Helper("exit 3"), 0.5).run();
    const Facts& facts = std::get<Facts>(result);
    ASSERT_EQ(facts.displayControllers.size(), 1U);
    EXPECT_EQ(facts.displayControllers[0].name,
              "Alder Lake-P Integrated Graphics Controller [Iris\xc2\xae Xe]");
    const std::string json = FactsJson(facts);
    EXPECT_TRUE(g_utf8_validate(json.data(), static_cast<gssize>(json.size()), nullptr));
}

}  // namespace
