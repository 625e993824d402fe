// The task runner with real child processes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FactRecording.h"
#include "LocalizedStrings.h"
#include "NotificationCenter.h"
#include "Processes.h"
#include "RunLoop.h"
#include "StringFormat.h"
#include "TaskWrapper.h"

namespace {

using Events = std::vector<std::string>;

// True once no process whose command line matches the pattern runs, within three seconds. Patterns
// hold a marker no other process on the machine carries, and a bracket, so that they match no
// command line that quotes them. A null pattern has no witness.
bool Gone(const char* pattern) {
    return pattern == nullptr || GoneWithin(pattern, 3);
}

// The controller: records the runner's notices and protocol messages in the order they come.
class TaskRunner : public ::testing::Test, public TaskWrapperController {
protected:
    Events events;
    std::string output;  // as processFinished found it
    ProfilerRun run;     // how the facts tell the run's end
    bool timedOut = false;
    bool limitReached = false;

    TaskRunner() {
        for (const std::string* name : {&kTaskCreatedNotification, &kTaskDestroyedNotification}) {
            NotificationCenter::defaultCenter().addObserver(
                this, [this, name](const Notification&) { events.push_back(name->substr(4)); },
                *name, nullptr);
        }
    }
    ~TaskRunner() override {
        RunLoop::main().drainDeferred();
        NotificationCenter::defaultCenter().removeObserver(this);
    }
    void processStarted(TaskWrapper* /*task*/) override { events.emplace_back("Started"); }
    void processFinished(TaskWrapper* task, bool success) override {
        events.emplace_back(success ? "Finished" : "Failed");
        timedOut = task->timedOut();
        limitReached = task->outputLimitReached();
        output = std::string(task->output().view());
        Facts facts;
        RecordProfilerRun(facts, *task, success);
        run = facts.profiler;
    }
    static bool runUntilDestroyed() {
        return RunLoop::main().runUntil([] { return TaskWrapper::count() == 0; }, 20.0);
    }
};

// Run while a modal panel is up, where reads complete too. Only the failed launch is logged; the
// facts tell each way a run ends apart.
TEST_F(TaskRunner, EachRunReportsOnceWithTheChildsWholeOutput) {
    setenv("LC_CTYPE", "C", 1);
    setenv("READYCHECK_TEST_VARIABLE", "kept", 1);
    const std::string missing = "launch path not accessible: /nonexistent/program";
    const std::string failed =
        StringWithFormat(LocalizedString("FailedTaskOutputFormat"), {missing});
    const struct {
        std::vector<std::string> arguments;
        std::string output;
        ProfilerRun run;
    } cases[] = {
        {{"/nonexistent/program", "-x"}, failed, {ProfilerState::LaunchFailed, failed}},
        {{"/bin/sh", "-c",
          "echo one; sleep 0.3; pwd; echo \"$LC_CTYPE|$READYCHECK_TEST_VARIABLE\" >&2; exit 3"},
         "one\n/usr\nen_US.UTF-8|kept\n",
         {ProfilerState::ExitedWithError, "3"}},
        {{"/usr/bin/head", "-c", "3000000", "/dev/zero"},
         std::string(3000000, '\0'),
         {ProfilerState::Finished, ""}},
        {{"/bin/sh", "-c", "kill -SEGV $$"}, "", {ProfilerState::Crashed, "11 (SIGSEGV)"}},
    };
    testing::internal::CaptureStderr();
    RunLoop::main().runInMode(kModalPanelRunLoopMode, [&] {
        for (const auto& row : cases) {
            events.clear();
            (new TaskWrapper(this, row.arguments, "/usr", {}))->startProcess();
            EXPECT_TRUE(runUntilDestroyed()) << row.arguments.back();
            EXPECT_EQ(events,
                      (Events{"Created", "Started",
                              row.arguments[0].starts_with("/nonexistent") ? "Failed" : "Finished",
                              "Destroyed"}));
            EXPECT_TRUE(output == row.output) << row.arguments.back();
            EXPECT_EQ(run, row.run) << row.arguments.back();
        }
    });
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.substr(log.find(']') + 1),
              ": On task launch, caught NSInvalidArgumentException: " + missing + "\n");
}

// However the child resists, a stop ends within two seconds and leaves none of the processes
// it started, before the runner goes. It drains the output, sends no protocol message and
// destroys after the event.
TEST_F(TaskRunner, AStopEndsEveryProcessTheChildStarted) {
    const struct {
        const char* script;
        std::string_view drained;
        const char* witness;  // a pattern for the command lines it leaves
    } cases[] = {
        {"(trap 'echo drained; exit' TERM; echo up; sleep 101.25 & wait) & wait", "up\ndrained\n",
         "slee[p] 101.25"},
        {"trap '' TERM; echo up; sleep 102.25", "up\n", "slee[p] 102.25"},
        {"sleep 103.25 & echo up", "up\n", "slee[p] 103.25"},  // a grandchild holds the pipe
        {"trap '' TERM; echo up; : endless-1; while :; do echo y; done", "up\ny\n", "endless-[1]"},
    };
    for (const auto& row : cases) {
        events.clear();
        auto* task = new TaskWrapper(this, {"/bin/sh", "-c", row.script}, "/usr", {});
        task->startProcess();
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return task->output().size() > 0; }, 9));
        const auto stopping = std::chrono::steady_clock::now();
        NotificationCenter::defaultCenter().postNotificationName(
            kControllerDiedNotification, static_cast<TaskWrapperController*>(this));
        EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(2));
        EXPECT_EQ(task->output().view().substr(0, row.drained.size()), row.drained) << row.script;
        EXPECT_EQ(events, (Events{"Created", "Started"})) << row.script;
        EXPECT_TRUE(Gone(row.witness)) << row.script;
        ASSERT_TRUE(runUntilDestroyed()) << row.script;
        EXPECT_EQ(events, (Events{"Created", "Started", "Destroyed"})) << row.script;
    }
}

}  // namespace

namespace {

// A task other than the profiler's: its variables added, its standard error apart from its
// output, its run ended at a bound of time or of output, each reported once as an end of file
// and told apart; the profiler's output over its bound is no report.
TEST_F(TaskRunner, ABoundedRunKeepsStandardErrorApartAndEndsAtItsBound) {
    const struct {
        const char* script;
        double seconds;
        std::size_t limit;
        std::string output;
        bool timedOut;
        bool limitReached;
        const char* witness;
    } cases[] = {
        {"echo out; echo apart >&2; echo \"$CARD_VARIABLE|$LC_CTYPE\"", 5, 64,
         "out\nadded|en_US.UTF-8\n", false, false, nullptr},
        {"trap '' TERM; echo up; sleep 104.25", 0.3, 64, "up\n", true, false, "slee[p] 104.25"},
        {"trap '' TERM; : endless-2; while :; do echo yes; done", 5, 10, "yes\nyes\nye", false,
         true, "endless-[2]"},
    };
    for (const auto& row : cases) {
        const auto started = std::chrono::steady_clock::now();
        events.clear();
        auto* task = new TaskWrapper(this, {"/bin/sh", "-c", row.script}, "/", {});
        task->addEnvironment({{"CARD_VARIABLE", "added"}, {"LC_CTYPE", "C"}});
        task->keepStandardErrorApart();
        task->setBounds(row.seconds, row.limit);
        testing::internal::CaptureStderr();
        task->startProcess();
        // A modal panel does not hold the bound back.
        RunLoop::main().runInMode(kModalPanelRunLoopMode,
                                  [&] { EXPECT_TRUE(runUntilDestroyed()) << row.script; });
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        const std::string apart = testing::internal::GetCapturedStderr();
        EXPECT_EQ(events, (Events{"Created", "Started", "Finished", "Destroyed"})) << row.script;
        EXPECT_EQ(output, row.output) << row.script;
        EXPECT_EQ(timedOut, row.timedOut) << row.script;
        EXPECT_EQ(limitReached, row.limitReached) << row.script;
        EXPECT_EQ(run.state == ProfilerState::OutputTooLarge, row.limitReached) << row.script;
        EXPECT_EQ(apart, row.output.starts_with("out") ? "apart\n" : "") << row.script;
        EXPECT_TRUE(Gone(row.witness)) << row.script;
    }
}

}  // namespace
