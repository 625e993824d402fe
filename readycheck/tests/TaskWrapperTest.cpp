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

std::vector<std::string> Shell(const std::string& script) {
    return {"/bin/sh", "-c", script};
}

// True while a process whose command line matches the pattern has not ended; a zombie has.
// Patterns hold a bracket, so that they do not match the shell that runs pgrep.
bool Running(const char* pattern) {
    return std::system(
               (std::string("pgrep -f '") + pattern + "' -r D,R,S,T,t >/dev/null").c_str()) == 0;
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

// Run while a modal panel is up, where reads complete too. A controller that throws from
// processFinished is logged, and the runner still goes.
TEST_F(TaskRunner, EachRunReportsOnceWithTheChildsWholeOutput) {
    setenv("LC_CTYPE", "C", 1);
    setenv("READYCHECK_TEST_VARIABLE", "kept", 1);
    std::string numbers;
    for (int i = 1; i <= 700000; ++i) {
        numbers += std::to_string(i) + "\n";
    }
    const std::string missing = "launch path not accessible: /nonexistent/program";
    const std::string thrown = "On task finish, caught TestException: thrown by the controller";
    const std::string refused = "On task launch, caught NSInvalidArgumentException: " + missing;
    const struct {
        std::vector<std::string> arguments;
        std::string output;
    } cases[] = {
        {{"/nonexistent/program", "-x"},
         StringWithFormat(LocalizedString("FailedTaskOutputFormat"), {missing})},
        {Shell("exit 0"), ""},
        {Shell("echo one; sleep 0.3; echo out; echo oops >&2; exit 3"), "one\nout\noops\n"},
        {Shell("echo \"$LC_CTYPE|$READYCHECK_TEST_VARIABLE\""), "en_US.UTF-8|kept\n"},
        {{"/bin/pwd"}, "/usr\n"},                    // no argument, in the given directory
        {{"/usr/bin/seq", "1", "700000"}, numbers},  // megabytes over many reads
    };
    RunLoop::main().runInMode(kModalPanelRunLoopMode, [&] {
        for (const auto& row : cases) {
            const bool launches = row.arguments[0] != "/nonexistent/program";
            recorder.throwOnFinish = launches;
            testing::internal::CaptureStderr();
            start(row.arguments, "/usr");
            const bool destroyed = runUntilDestroyed();
            const std::string log = testing::internal::GetCapturedStderr();
            ASSERT_TRUE(destroyed) << row.arguments.back();
            EXPECT_EQ(recorder.events, (Events{"Created", "Started",
                                               launches ? "Finished" : "Failed", "Destroyed"}));
            EXPECT_TRUE(recorder.output == row.output) << row.arguments.back();
            EXPECT_EQ(log.substr(log.find(']') + 1), ": " + (launches ? thrown : refused) + "\n");
        }
    });
    unsetenv("READYCHECK_TEST_VARIABLE");
}

// However the child resists, a stop ends within two seconds and leaves none of the processes
// it started. "died" drains the output, sends no protocol message and destroys after the event.
TEST_F(TaskRunner, AStopEndsEveryProcessTheChildStarted) {
    const struct {
        const char* script;
        const char* drained;  // null: the child closes its output and stays
        const char* witness;  // a pattern for the command lines it leaves
    } cases[] = {
        {"(trap 'echo drained; exit' TERM; echo up; sleep 101 & wait) & wait", "drained\n",
         "slee[p] 101"},
        {"trap '' TERM; echo up; sleep 102", "", "slee[p] 102"},
        {"sleep 103 & echo up", "", "slee[p] 103"},  // a grandchild holds the pipe
        {"trap '' TERM; echo up; exec >&- 2>&-; sleep 104", nullptr, "slee[p] 104"},
        {"trap '' TERM; echo up; while :; do echo y; done", "y\n", "whil[e] :"},  // endless
    };
    for (const auto& row : cases) {
        const auto started = std::chrono::steady_clock::now();
        TaskWrapper* task = start(Shell(row.script));
        if (row.drained != nullptr) {
            ASSERT_TRUE(RunLoop::main().runUntil([&] { return task->output().size() > 0; }, 9));
            NotificationCenter::defaultCenter().postNotificationName(kControllerDiedNotification,
                                                                     &recorder);
            const std::string drained = std::string("up\n") + row.drained;
            EXPECT_EQ(task->output().view().substr(0, drained.size()), drained) << row.script;
            EXPECT_EQ(recorder.events, (Events{"Created", "Started"})) << row.script;
        }
        ASSERT_TRUE(runUntilDestroyed()) << row.script;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
        const Events died{"Created", "Started", "Destroyed"};
        const Events finished{"Created", "Started", "Finished", "Destroyed"};
        EXPECT_EQ(recorder.events, row.drained != nullptr ? died : finished) << row.script;
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return !Running(row.witness); }, 1.0))
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
