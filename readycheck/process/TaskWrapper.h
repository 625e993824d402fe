// Runs one child process for a controller and collects its standard output and standard error
// into one buffer, asynchronously on the main run loop.
//
// Ownership: a started runner owns itself. It destroys itself right after processFinished has
// returned, or at the end of the current event after its controller posted "died". A runner
// that is never started is deleted by its creator.
#pragma once

#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ByteBuffer.h"
#include "ChildProcess.h"
#include "NotificationCenter.h"
#include "PlatformException.h"
#include "TaskWrapperController.h"

extern const std::string kTaskCreatedNotification;
extern const std::string kTaskDestroyedNotification;
extern const std::string kControllerDiedNotification;

class TaskWrapper {
public:
    // arguments[0] is the program's path, the rest its arguments.
    TaskWrapper(TaskWrapperController* controller, std::vector<std::string> arguments,
                std::string currentDirectoryPath, std::any taskID);
    ~TaskWrapper();
    TaskWrapper(const TaskWrapper&) = delete;
    TaskWrapper& operator=(const TaskWrapper&) = delete;

    void startProcess();
    void endTask();

    // For a task other than the profiler's, before startProcess: variables added to the
    // program's own environment (LC_CTYPE stays en_US.UTF-8);
    void addEnvironment(const std::vector<std::pair<std::string, std::string>>& variables);
    // its standard error left as the program's own, out of the output.
    void keepStandardErrorApart() { mJoinStandardError = false; }
    // For any task, before startProcess, a bound on its run: once seconds have passed, or the
    // output has reached limit bytes (later bytes are dropped), the run ends as at end of file,
    // its child's group stopped. A bound of 0 is none.
    void setBounds(double seconds, std::size_t outputLimit);
    bool timedOut() const { return mTimedOut; }
    // The run ended at the output bound: the output holds its first limit bytes, no more.
    bool outputLimitReached() const { return mOutputLimitReached; }

    const std::any& taskID() const { return mTaskID; }
    const ByteBuffer& output() const { return *mOutput; }
    const std::vector<std::string>& arguments() const { return mArguments; }
    const std::string& currentDirectoryPath() const { return mCurrentDirectoryPath; }
    // How the child ended, as waitpid tells it, once the run has ended and the child has been
    // collected; none before, or for a child that could not be launched.
    std::optional<int> terminationStatus() const {
        return mTask != nullptr ? mTask->waitStatus() : std::nullopt;
    }
    static int32_t count() { return sNumTasks; }

private:
    void getData(const Notification& notification);
    void finishRun();
    void boundPassed();
    void appendData(const Data& data);
    void controllerDied(const Notification& notification);
    void launchFailed(const PlatformException& exception);
    FileHandle* readingEnd() const;
    void release() { delete this; }
    void autorelease();

    static int32_t sNumTasks;

    std::unique_ptr<ChildProcess> mTask;
    TaskWrapperController* mController;
    std::vector<std::string> mArguments;
    std::string mCurrentDirectoryPath;
    std::any mTaskID;
    std::unique_ptr<ByteBuffer> mOutput;
    std::vector<std::pair<std::string, std::string>> mAddedEnvironment;
    bool mJoinStandardError = true;
    double mTimeBound = 0;         // seconds; none when 0
    std::size_t mOutputLimit = 0;  // bytes; none when 0
    uint64_t mBoundCall = 0;       // the run loop's token for the time bound
    bool mTimedOut = false;
    bool mOutputLimitReached = false;
};
