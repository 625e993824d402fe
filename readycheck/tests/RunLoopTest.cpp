// The run loop's modes and the notification center.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "NotificationCenter.h"
#include "RunLoop.h"

namespace {

using Seen = std::vector<std::string>;

// Delayed calls fire in due order in the default mode only; deferred calls run after the event
// in any mode; a nested mode is left even on a throw.
TEST(RunLoopModes, DelayedCallsWaitForTheDefaultModeDeferredOnesDoNot) {
    RunLoop& loop = RunLoop::main();
    Seen fired;
    loop.performAfterDelay([&] { fired.emplace_back("late"); }, 0.06);
    loop.performAfterDelay([&] { fired.emplace_back("early"); }, 0.02);
    loop.performAfterDelay([&] { fired.emplace_back("early too"); }, 0.02);
    const auto nested = [&] {
        loop.deferToEndOfEvent([&] { fired.emplace_back("deferred"); });
        EXPECT_FALSE(loop.runUntil([&] { return fired.size() > 1; }, 0.15));
        EXPECT_EQ(fired, (Seen{"deferred"}));
        throw std::runtime_error("out");
    };
    EXPECT_THROW(loop.runInMode(kModalPanelRunLoopMode, nested), std::runtime_error);
    EXPECT_TRUE(loop.runUntil([&] { return fired.size() == 4; }, 1.0));
    EXPECT_EQ(fired, (Seen{"deferred", "early", "early too", "late"}));
}

TEST(Notifications, DeliveryByNameAndObjectUntilRemoved) {
    NotificationCenter center;
    int a = 0, b = 0;
    Seen seen;
    const auto note = [&](const std::string& what) {
        return [&seen, what](const Notification&) { seen.push_back(what); };
    };
    center.addObserver(&seen, note("any"), "n", nullptr);
    center.addObserver(&seen, note("a"), "n", &a);
    center.addObserver(
        &a, [&](const Notification&) { center.removeObserver(&b); }, "n", nullptr);
    center.addObserver(&b, note("removed while delivering"), "n", nullptr);
    center.postNotificationName("n", &b);
    center.postNotificationName("other", &a);
    center.postNotificationName("n", &a);
    center.removeObserver(&seen, "n", nullptr);
    center.postNotificationName("n", &a);
    EXPECT_EQ(seen, (Seen{"any", "any", "a"}));
}

}  // namespace
