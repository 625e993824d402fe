// The task runner with real child processes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "LocalizedStrings.h"
#include "NotificationCenter.h"
#include "PlatformException.h"
#include "RunLoop.h"
#include "ScriptDirectory.h"
#include "StringFormat.h"
#include "TaskWrapper.h"

namespace {

struct Recorder final : TaskWrapperController {
    std::vector<std::string> events;
    std::string output;
    bool finished = false;
    bool throwOnFinish = false;

    void processStarted(TaskWrapper* /*task*/) override { events.emplace_back("started"); }
    void processFinished(TaskWrapper* task, bool success) override {
        events.emplace_back(success ? "finished true" : "finished false");
        output = std::string(task->output().view());
        finished = true;
        if (throwOnFinish) {
            throw PlatformException("TestException", "thrown by the controller");
        }
    }
};

// Counts the runners destroyed while it lives.
struct DestroyedWatch {
    int destroyed = 0;
    DestroyedWatch() {
        NotificationCenter::defaultCenter().addObserver(
            this, [this](const Notification&) { ++destroyed; }, kTaskDestroyedNotification,
            nullptr);
    }
    ~DestroyedWatch() { NotificationCenter::defaultCenter().removeObserver(this); }
};

TaskWrapper* Start(Recorder& recorder, std::vector<std::string> arguments,
                   const std::string& directory = "/") {
    auto* task = new TaskWrapper(&recorder, std::move(arguments), directory, {});
    task->startProcess();
    return task;
}

bool RunUntilFinished(const Recorder& recorder) {
    return RunLoop::main().runUntil([&] { return recorder.finished; }, 20.0);
}

class TaskRunner : public ::testing::Test {
protected:
    ScriptDirectory scripts;
    Recorder recorder;
    DestroyedWatch watch;
    const int32_t countBefore = TaskWrapper::count();

    void TearDown() override {
        RunLoop::main().drainDeferred();
        EXPECT_EQ(TaskWrapper::count(), countBefore) << "every runner was destroyed";
    }
};

TEST_F(TaskRunner, APathWithoutAProgramFailsItsLaunch) {
    const std::string path = scripts.path() + "/missing";
    testing::internal::CaptureStderr();
    Start(recorder, {path, "-x"});
    const std::string log = testing::internal::GetCapturedStderr();
    const std::string reason = "launch path not accessible: " + path;
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"started", "finished false"}));
    EXPECT_NE(log.find("]: On task launch, caught NSInvalidArgumentException: " + reason + "\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(recorder.output,
              StringWithFormat(LocalizedString("FailedTaskOutputFormat"), {reason}));
    EXPECT_NE(recorder.output.find(reason), std::string::npos) << "the table holds the format";
    EXPECT_EQ(watch.destroyed, 1) << "destroyed right after reporting";
}

TEST_F(TaskRunner, AChildThatWritesNothingFinishesWithEmptyOutput) {
    Start(recorder, {scripts.script("quiet", "exit 0")});
    ASSERT_TRUE(RunUntilFinished(recorder));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"started", "finished true"}));
    EXPECT_EQ(recorder.output, "");
    EXPECT_EQ(watch.destroyed, 1);
}

TEST_F(TaskRunner, ErrorOutputAndStatusAreNotFailures) {
    Start(recorder, {scripts.script("fails", "echo out; echo oops >&2; exit 3")});
    ASSERT_TRUE(RunUntilFinished(recorder));
    EXPECT_EQ(recorder.events.back(), "finished true");
    EXPECT_EQ(recorder.output, "out\noops\n");
}

TEST_F(TaskRunner, MegabytesOverManyReadsArriveInOrder) {
    Start(recorder, {"/usr/bin/seq", "1", "700000"});
    ASSERT_TRUE(RunUntilFinished(recorder));
    std::string expected;
    for (int i = 1; i <= 700000; ++i) {
        expected += std::to_string(i) + "\n";
    }
    EXPECT_GT(expected.size(), 4U << 20);
    EXPECT_TRUE(recorder.output == expected)
        << "sizes " << recorder.output.size() << " and " << expected.size();
}

TEST_F(TaskRunner, OutputIsTakenInDuringAModalPanelWhileDelayedCallsWait) {
    RunLoop& loop = RunLoop::main();
    bool delayedFired = false;
    loop.performAfterDelay([&] { delayedFired = true; }, 0.05);
    Start(recorder, {scripts.script("slow", "echo one; sleep 0.3; echo two")});
    loop.runInMode(kModalPanelRunLoopMode, [&] {
        ASSERT_TRUE(RunUntilFinished(recorder));
        EXPECT_EQ(recorder.output, "one\ntwo\n");
        EXPECT_FALSE(delayedFired);
    });
    EXPECT_TRUE(loop.runUntil([&] { return delayedFired; }, 1.0));
}

TEST_F(TaskRunner, DiedStopsTheChildDrainsAndDestroysAfterTheEvent) {
    TaskWrapper* task = Start(recorder, {scripts.script("long", "echo before; exec sleep 30")});
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return task->output().size() > 0; }, 10.0));
    NotificationCenter::defaultCenter().postNotificationName(kControllerDiedNotification,
                                                             &recorder);
    EXPECT_EQ(watch.destroyed, 0) << "not before the current event has been handled";
    EXPECT_EQ(task->output().view(), "before\n");
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return watch.destroyed == 1; }, 5.0));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"started"})) << "no protocol message";
}

TEST_F(TaskRunner, AnExceptionFromTheControllerIsLoggedAndTheRunnerStillGoes) {
    recorder.throwOnFinish = true;
    Start(recorder, {scripts.script("quick", "echo hi")});
    testing::internal::CaptureStderr();
    const bool finished = RunUntilFinished(recorder);
    const std::string log = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(finished);
    EXPECT_NE(log.find("On task finish, caught TestException: thrown by the controller\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
    EXPECT_EQ(watch.destroyed, 1);
}

TEST_F(TaskRunner, TheChildGetsTheEnvironmentWithLcCtypeSet) {
    setenv("LC_CTYPE", "C", 1);
    setenv("READYCHECK_TEST_VARIABLE", "kept as it is", 1);
    Start(recorder, {scripts.script("env", "echo \"$LC_CTYPE|$READYCHECK_TEST_VARIABLE\"")});
    ASSERT_TRUE(RunUntilFinished(recorder));
    unsetenv("READYCHECK_TEST_VARIABLE");
    EXPECT_EQ(recorder.output, "en_US.UTF-8|kept as it is\n");
}

TEST_F(TaskRunner, OneElementMeansNoArgumentsInTheGivenDirectory) {
    Start(recorder, {scripts.script("args", "echo \"$# $(pwd)\"")}, scripts.path());
    ASSERT_TRUE(RunUntilFinished(recorder));
    EXPECT_EQ(recorder.output, "0 " + scripts.path() + "\n");
}

TEST_F(TaskRunner, ARunnerNeverStartedIsCreatedAndDestroyedByItsCreator) {
    int created = 0;
    NotificationCenter::defaultCenter().addObserver(
        &created, [&](const Notification&) { ++created; }, kTaskCreatedNotification, nullptr);
    auto* task = new TaskWrapper(&recorder, {"/bin/true"}, "/", std::string("id"));
    EXPECT_EQ(TaskWrapper::count(), countBefore + 1);
    EXPECT_EQ(std::any_cast<std::string>(task->taskID()), "id");
    delete task;
    NotificationCenter::defaultCenter().removeObserver(&created);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(watch.destroyed, 1);
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(TaskRunner, EndTaskWorksOnlyOnce) {
    auto* task = new TaskWrapper(&recorder, {"/bin/true"}, "/", {});
    task->endTask();
    task->endTask();
    delete task;
    EXPECT_TRUE(recorder.events.empty());
}

}  // namespace
