// The run loop's modes and the notification center.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NotificationCenter.h"
#include "RunLoop.h"
#include "StringFormat.h"

namespace {

TEST(RunLoopModes, DelayedCallsFireInDueOrderInTheDefaultModeOnly) {
    RunLoop& loop = RunLoop::main();
    std::vector<std::string> fired;
    loop.performAfterDelay([&] { fired.push_back("late"); }, 0.06);
    loop.performAfterDelay([&] { fired.push_back("early"); }, 0.02);
    loop.performAfterDelay([&] { fired.push_back("early too"); }, 0.02);
    loop.runInMode(kModalPanelRunLoopMode, [&] {
        EXPECT_FALSE(loop.runUntil([&] { return !fired.empty(); }, 0.15))
            << "nothing fires in the modal-panel mode";
    });
    EXPECT_TRUE(loop.runUntil([&] { return fired.size() == 3; }, 1.0));
    EXPECT_EQ(fired, (std::vector<std::string>{"early", "early too", "late"}));
}

TEST(RunLoopModes, TheDelayCountsFromTheCall) {
    RunLoop& loop = RunLoop::main();
    bool fired = false;
    loop.performAfterDelay([&] { fired = true; }, 0.2);
    EXPECT_FALSE(loop.runUntil([&] { return fired; }, 0.1));
    EXPECT_TRUE(loop.runUntil([&] { return fired; }, 1.0));
}

TEST(RunLoopModes, DeferredCallsRunAfterTheCurrentEventInAnyMode) {
    RunLoop& loop = RunLoop::main();
    bool ran = false;
    loop.runInMode(kModalPanelRunLoopMode, [&] {
        loop.deferToEndOfEvent([&] { ran = true; });
        EXPECT_FALSE(ran);
        EXPECT_TRUE(loop.runUntil([&] { return ran; }, 1.0));
    });
}

TEST(RunLoopModes, ModeIsRestoredWhenTheNestedLoopThrows) {
    RunLoop& loop = RunLoop::main();
    EXPECT_THROW(loop.runInMode(kModalPanelRunLoopMode, [] { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_EQ(loop.currentMode(), kDefaultRunLoopMode);
}

TEST(Notifications, ObjectFilterAndRemoval) {
    NotificationCenter center;
    int a = 0;
    int b = 0;
    std::vector<std::string> seen;
    center.addObserver(
        &seen, [&](const Notification&) { seen.push_back("any"); }, "n", nullptr);
    center.addObserver(
        &seen, [&](const Notification&) { seen.push_back("a"); }, "n", &a);
    center.postNotificationName("n", &b);
    center.postNotificationName("other", &a);
    EXPECT_EQ(seen, (std::vector<std::string>{"any"}));
    seen.clear();
    center.postNotificationName("n", &a);
    EXPECT_EQ(seen, (std::vector<std::string>{"any", "a"}));
    center.removeObserver(&seen, "n", &a);
    seen.clear();
    center.postNotificationName("n", &a);
    EXPECT_EQ(seen, (std::vector<std::string>{"any"}));
    center.removeObserver(&seen);
    seen.clear();
    center.postNotificationName("n", &a);
    EXPECT_TRUE(seen.empty());
}

TEST(Notifications, AnObserverRemovedDuringDeliveryGetsNothingMore) {
    NotificationCenter center;
    int first = 0;
    int second = 0;
    std::vector<std::string> seen;
    center.addObserver(
        &first,
        [&](const Notification&) {
            seen.push_back("first");
            center.removeObserver(&second);
        },
        "n", nullptr);
    center.addObserver(
        &second, [&](const Notification&) { seen.push_back("second"); }, "n", nullptr);
    center.postNotificationName("n", nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"first"}));
}

TEST(StringFormat, ObjectPlaceholdersAndPercents) {
    EXPECT_EQ(StringWithFormat("On task launch, caught %@: %@", {"Name", "why"}),
              "On task launch, caught Name: why");
    EXPECT_EQ(StringWithFormat("100%% of %@", {"64 MB"}), "100% of 64 MB");
    EXPECT_EQ(StringWithFormat("%@ and %@", {"one"}), "one and ");
    EXPECT_EQ(StringWithFormat("%d stays", {"x"}), "%d stays");
}

}  // namespace
