#include "CommandLineCheck.h"

#include "FactsCollection.h"
#include "GetVRAM.h"
#include "NotificationCenter.h"
#include "ProbeKit/ProbeKit.h"
#include "RunLoop.h"
#include "SystemVersion.h"
#include "TaskWrapper.h"

CommandLineCheck::CommandLineCheck(std::vector<std::string> profilerArguments, double profilerBound)
    : mProfilerArguments(std::move(profilerArguments)), mProfilerBound(profilerBound) {}

CommandLineCheck::~CommandLineCheck() {
    stopProfiler();
}

std::variant<Facts, std::string> CommandLineCheck::run() {
    if (GestaltSystemVersion() <= kSystemVersionRefusalThreshold) {
        return "this operating system is too old to check: " + OperatingSystemVersionString();
    }
    mProfileTask = new TaskWrapper(this, mProfilerArguments, "/", {});
    mProfileTask->startProcess();
    const auto featuresMask = static_cast<int32_t>(VXGetDriverOpenGLFeatures());
    const DriverIdentity identity = ProbeDriverIdentity();
    RecordDriver(mFacts, featuresMask, identity);
    std::optional<bool> mainRendererAccelerated;
    const int64_t videoMemory = GetVRAM(&mainRendererAccelerated);
    RecordVideoMemory(mFacts, videoMemory, mainRendererAccelerated);
    if (!identity.answered) {
        stopProfiler();
        return std::string("no OpenGL driver answered on this display");
    }
    if (!RunLoop::main().runUntil([this] { return mProfilerEnded || mInterrupted; },
                                  mProfilerBound)) {
        stopProfiler();
        mFacts.profiler.state = ProfilerState::TimedOut;
    }
    if (mInterrupted) {
        stopProfiler();
        return std::string("interrupted by a signal");
    }
    RecordSystem(mFacts);
    return mFacts;
}

void CommandLineCheck::processStarted(TaskWrapper* /*task*/) {}

void CommandLineCheck::processFinished(TaskWrapper* /*task*/, bool success) {
    RecordProfilerRun(mFacts, *mProfileTask, success);
    mProfilerEnded = true;
    mProfileTask = nullptr;
}

// As closing the window does: the runner hears that its controller goes, stops the child's
// group and releases itself at the end of the event, which is now.
void CommandLineCheck::stopProfiler() {
    if (mProfilerEnded || mProfileTask == nullptr) {
        return;
    }
    NotificationCenter::defaultCenter().postNotificationName(
        kControllerDiedNotification, static_cast<TaskWrapperController*>(this));
    RunLoop::main().drainDeferred();
    mProfileTask = nullptr;
}
