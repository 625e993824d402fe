// The task runner with real child processes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "LocalizedStrings.h"
#include "NotificationCenter.h"
#include "PlatformException.h"
#include "RunLoop.h"
#include "StringFormat.h"
#include "TaskWrapper.h"

namespace {

using Events = std::vector<std::string>;
const Events kRun{"Created", "Started", "Finished", "Destroyed"};

// Records the runners' notices and protocol messages in the order they come.
struct Recorder final : TaskWrapperController {
    Events events;
    std::string output;  // as processFinished found it
    bool throwOnFinish = false;

    Recorder() {
        for (const std::string* name : {&kTaskCreatedNotification, &kTaskDestroyedNotification}) {
            NotificationCenter::defaultCenter().addObserver(
                this, [this, name](const Notification&) { events.push_back(name->substr(4)); },
                *name, nullptr);
        }
    }
    ~Recorder() { NotificationCenter::defaultCenter().removeObserver(this); }
    void processStarted(TaskWrapper* /*task*/) override { events.emplace_back("Started"); }
    void processFinished(TaskWrapper* task, bool success) override {
        events.emplace_back(success ? "Finished" : "Failed");
        output = std::string(task->output().view());
        if (throwOnFinish) {
            throw PlatformException("TestException", "thrown by the controller");
        }
    }
};

std::vector<std::string> Shell(const std::string& script) { return {"/bin/sh", "-c", script}; }

// True while a process of the group has not ended; a zombie has.
bool GroupLives(const std::string& group) {
    return std::system(("pgrep -g '" + group + "' -r D,R,S,T,t >/dev/null").c_str()) == 0;
}

class TaskRunner : public ::testing::Test {
protected:
    Recorder recorder;
    const int32_t countBefore = TaskWrapper::count();

    TaskWrapper* start(std::vector<std::string> arguments, const std::string& directory = "/") {
        recorder.events.clear();
        auto* task = new TaskWrapper(&recorder, std::move(arguments), directory, {});
        task->startProcess();
        return task;
    }
    bool runUntilDestroyed() {
        return RunLoop::main().runUntil(
            [&] { return !recorder.events.empty() && recorder.events.back() == "Destroyed"; },
            20.0);
    }
    void TearDown() override {
        RunLoop::main().drainDeferred();
        EXPECT_EQ(TaskWrapper::count(), countBefore) << "every runner was destroyed";
    }
};

TEST_F(TaskRunner, APathWithoutAProgramFailsItsLaunch) {
    testing::internal::CaptureStderr();
    start({"/nonexistent/program", "-x"});
    const std::string log = testing::internal::GetCapturedStderr();
    const std::string reason = "launch path not accessible: /nonexistent/program";
    EXPECT_EQ(recorder.events, (Events{"Created", "Started", "Failed", "Destroyed"}));
    EXPECT_EQ(log.substr(log.find("]: ")),
              "]: On task launch, caught NSInvalidArgumentException: " + reason + "\n");
    EXPECT_EQ(recorder.output,
              StringWithFormat(LocalizedString("FailedTaskOutputFormat"), {reason}));
    EXPECT_NE(recorder.output.find(reason), std::string::npos) << "the table holds the format";
}

// Each run also meets a controller that throws from processFinished: logged, and the runner
// still goes.
TEST_F(TaskRunner, AChildsWholeOutputEndsItsRunWithSuccess) {
    recorder.throwOnFinish = true;
    setenv("LC_CTYPE", "C", 1);
    setenv("READYCHECK_TEST_VARIABLE", "kept", 1);
    std::string numbers;
    for (int i = 1; i <= 700000; ++i) {
        numbers += std::to_string(i) + "\n";
    }
    const struct {
        std::vector<std::string> arguments;
        std::string directory, output;  // NOLINT(readability-isolate-declaration)
    } cases[] = {
        {Shell("exit 0"), "/", ""},
        {Shell("echo out; echo oops >&2; exit 3"), "/", "out\noops\n"},
        {Shell("echo \"$LC_CTYPE|$READYCHECK_TEST_VARIABLE\""), "/", "en_US.UTF-8|kept\n"},
        {{"/bin/sh", "-c", "echo $0 $1 $# $(pwd)", "zero", "one"}, "/usr", "zero one 1 /usr\n"},
        {{"/bin/pwd"}, "/usr", "/usr\n"},
        {{"/usr/bin/seq", "1", "700000"}, "/", numbers},  // megabytes over many reads
    };
    for (const auto& row : cases) {
        start(row.arguments, row.directory);
        testing::internal::CaptureStderr();
        const bool destroyed = runUntilDestroyed();
        const std::string log = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(destroyed) << row.arguments.back();
        EXPECT_EQ(recorder.events, kRun) << row.arguments.back();
        EXPECT_TRUE(recorder.output == row.output) << row.arguments.back();
        EXPECT_EQ(log.substr(log.find("]: ")),
                  "]: On task finish, caught TestException: thrown by the controller\n");
    }
    unsetenv("READYCHECK_TEST_VARIABLE");
}

TEST_F(TaskRunner, OutputIsTakenInDuringAModalPanelWhileDelayedCallsWait) {
    RunLoop& loop = RunLoop::main();
    bool delayedFired = false;
    loop.performAfterDelay([&] { delayedFired = true; }, 0.05);
    start(Shell("echo one; sleep 0.3; echo two"));
    loop.runInMode(kModalPanelRunLoopMode, [&] {
        ASSERT_TRUE(runUntilDestroyed());
        EXPECT_EQ(recorder.output, "one\ntwo\n");
        EXPECT_FALSE(delayedFired);
    });
    EXPECT_TRUE(loop.runUntil([&] { return delayedFired; }, 1.0));
}

// However the child resists, a stop ends within two seconds and leaves no process of its
// group. "died" drains the output, sends no protocol message and destroys after the event.
TEST_F(TaskRunner, AStopEndsTheChildsWholeGroup) {
    const struct {
        const char* script;
        const char* drained;  // null: the child closes its output and stays
    } cases[] = {
        {"trap 'echo drained; exit' TERM; echo $$; sleep 100 & wait", "drained\n"},
        {"trap '' TERM; echo $$; sleep 100", ""},
        {"sleep 100 & echo $$", ""},  // a grandchild holds the pipe
        {"trap '' TERM; echo $$; exec >&- 2>&-; sleep 100", nullptr},
    };
    for (const auto& row : cases) {
        const auto started = std::chrono::steady_clock::now();
        TaskWrapper* task = start(Shell(row.script));
        std::string group;
        if (row.drained != nullptr) {
            ASSERT_TRUE(RunLoop::main().runUntil(
                [&] { return task->output().view().find('\n') != std::string::npos; }, 10.0));
            group = task->output().view().substr(0, task->output().view().find('\n'));
            NotificationCenter::defaultCenter().postNotificationName(kControllerDiedNotification,
                                                                     &recorder);
            EXPECT_EQ(task->output().view(), group + "\n" + row.drained) << row.script;
            EXPECT_EQ(recorder.events, (Events{"Created", "Started"})) << row.script;
        }
        ASSERT_TRUE(runUntilDestroyed()) << row.script;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
        if (row.drained == nullptr) {
            EXPECT_EQ(recorder.events, kRun);
            group = recorder.output.substr(0, recorder.output.find('\n'));
        }
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return !GroupLives(group); }, 1.0))
            << row.script;
    }
}

TEST_F(TaskRunner, ARunnerNeverStartedIsCreatedAndDestroyedByItsCreator) {
    auto* task = new TaskWrapper(&recorder, {"/bin/true"}, "/", std::string("id"));
    EXPECT_EQ(TaskWrapper::count(), countBefore + 1);
    EXPECT_EQ(std::any_cast<std::string>(task->taskID()), "id");
    delete task;
    EXPECT_EQ(recorder.events, (Events{"Created", "Destroyed"}));
}

}  // namespace
