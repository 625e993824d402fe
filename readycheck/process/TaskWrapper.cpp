#include "TaskWrapper.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "LocalizedStrings.h"
#include "Log.h"
#include "PlatformException.h"
#include "ProcessInfo.h"
#include "RunLoop.h"
#include "StringFormat.h"

const std::string kTaskCreatedNotification = "taskCreated";
const std::string kTaskDestroyedNotification = "taskDestroyed";
const std::string kControllerDiedNotification = "died";

int32_t TaskWrapper::sNumTasks = 0;

namespace {

constexpr std::size_t kInitialOutputCapacity = 1000;
// How long a stop waits for the child's group to close its output and end before killing it: a
// child that ignores the termination signal, or leaves a process holding the pipe, must not
// hold the program.
constexpr auto kStopBound = std::chrono::seconds(1);

const RunLoopModes& ReadModes() {
    static const RunLoopModes sModes{kDefaultRunLoopMode, kModalPanelRunLoopMode};
    return sModes;
}

NotificationCenter& Center() {
    return NotificationCenter::defaultCenter();
}

}  // namespace

TaskWrapper::TaskWrapper(TaskWrapperController* controller, std::vector<std::string> arguments,
                         std::string currentDirectoryPath, std::any taskID)
    : mController(controller),
      mArguments(std::move(arguments)),
      mCurrentDirectoryPath(std::move(currentDirectoryPath)),
      mTaskID(std::move(taskID)),
      mOutput(std::make_unique<ByteBuffer>(kInitialOutputCapacity)) {
    Center().addObserver(
        this, [this](const Notification& notification) { controllerDied(notification); },
        kControllerDiedNotification, controller);
    ++sNumTasks;
    Center().postNotificationName(kTaskCreatedNotification, this);
}

TaskWrapper::~TaskWrapper() {
    Center().removeObserver(this);
    endTask();
    mArguments.clear();
    mCurrentDirectoryPath.clear();
    mTaskID.reset();
    mTask.reset();
    mOutput.reset();
    --sNumTasks;
    Center().postNotificationName(kTaskDestroyedNotification, this);
}

FileHandle* TaskWrapper::readingEnd() const {
    return mTask != nullptr && mTask->standardOutput() != nullptr
               ? &mTask->standardOutput()->fileHandleForReading()
               : nullptr;
}

void TaskWrapper::startProcess() {
    mController->processStarted(this);
    mTask = std::make_unique<ChildProcess>();
    mTask->setStandardOutput(Pipe::pipe());
    if (mJoinStandardError) {
        mTask->setStandardError(mTask->standardOutput());
    }
    mTask->setLaunchPath(mArguments.at(0));
    mTask->setArguments(std::vector<std::string>(mArguments.begin() + 1, mArguments.end()));
    mTask->setCurrentDirectoryPath(mCurrentDirectoryPath);
    Environment environment = ProcessEnvironment();
    for (const auto& [name, value] : mAddedEnvironment) {
        environment[name] = value;
    }
    environment["LC_CTYPE"] = "en_US.UTF-8";
    mTask->setEnvironment(std::move(environment));
    FileHandle* reading = readingEnd();
    Center().addObserver(
        this, [this](const Notification& notification) { getData(notification); },
        kFileHandleReadCompletionNotification, reading);
    reading->readInBackgroundAndNotifyForModes(ReadModes());
    if (mTimeBound > 0) {
        mBoundCall =
            RunLoop::main().performAfterDelayInAnyMode([this] { boundPassed(); }, mTimeBound);
    }
    try {
        mTask->launch();
    } catch (const PlatformException& exception) {
        launchFailed(exception);  // this runner is gone afterwards
    }
}

void TaskWrapper::launchFailed(const PlatformException& exception) {
    Log(StringWithFormat("On task launch, caught %@: %@", {exception.name(), exception.reason()}));
    const std::string message =
        StringWithFormat(LocalizedString("FailedTaskOutputFormat"), {exception.reason()});
    appendData(MakeData(message));
    TaskWrapperController* controller = mController;
    mTask.reset();
    endTask();
    controller->processFinished(this, false);
    release();
}

void TaskWrapper::getData(const Notification& notification) {
    const auto item = notification.userInfo.find(kFileHandleNotificationDataItem);
    const Data data = item != notification.userInfo.end() ? item->second : nullptr;
    if (data != nullptr && data->size() > 0) {
        appendData(data);
        if (mOutputLimit == 0 || mOutput->size() < mOutputLimit) {
            readingEnd()->readInBackgroundAndNotifyForModes(ReadModes());
            return;
        }
        mOutputLimitReached = true;
    }
    finishRun();
}

void TaskWrapper::boundPassed() {
    mBoundCall = 0;
    mTimedOut = true;
    finishRun();
}

// The end of a run that was launched: at end of file, or at a bound.
void TaskWrapper::finishRun() {
    TaskWrapperController* controller = mController;
    endTask();
    try {
        controller->processFinished(this, true);
    } catch (const PlatformException& exception) {
        Log(StringWithFormat("On task finish, caught %@: %@",
                             {exception.name(), exception.reason()}));
    }
    release();
}

void TaskWrapper::endTask() {
    if (mController == nullptr) {
        return;
    }
    FileHandle* reading = readingEnd();
    Center().removeObserver(this, kFileHandleReadCompletionNotification, reading);
    RunLoop::main().cancelCall(std::exchange(mBoundCall, 0));
    const Deadline deadline = std::chrono::steady_clock::now() + kStopBound;
    if (mTask != nullptr) {
        mTask->terminate();
    }
    if (reading != nullptr) {
        for (Data data = reading->availableDataBefore(deadline);
             data != nullptr && data->size() > 0; data = reading->availableDataBefore(deadline)) {
            appendData(data);
        }
    }
    if (mTask != nullptr) {
        mTask->endGroupBy(deadline);
    }
    mController = nullptr;
}

void TaskWrapper::controllerDied(const Notification& /*notification*/) {
    endTask();
    autorelease();
}

void TaskWrapper::autorelease() {
    RunLoop::main().deferToEndOfEvent([this] { release(); });
}

void TaskWrapper::addEnvironment(
    const std::vector<std::pair<std::string, std::string>>& variables) {
    mAddedEnvironment.insert(mAddedEnvironment.end(), variables.begin(), variables.end());
}

void TaskWrapper::setBounds(double seconds, std::size_t outputLimit) {
    mTimeBound = seconds;
    mOutputLimit = outputLimit;
}

void TaskWrapper::appendData(const Data& data) {
    if (data == nullptr) {
        Log("nil data received in appendData");
        return;
    }
    if (mOutputLimit == 0) {
        mOutput->append(*data);
        return;
    }
    const std::size_t room = mOutputLimit - std::min(mOutputLimit, mOutput->size());
    mOutput->append(data->data(), std::min(room, data->size()));
}
