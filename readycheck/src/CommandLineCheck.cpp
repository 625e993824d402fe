#include "CommandLineCheck.h"

#include <algorithm>
#include <cstdint>

#include "DisplayChoice.h"
#include "FactsCollection.h"
#include "GetVRAM.h"
#include "NotificationCenter.h"
#include "ProbeKit/ProbeKit.h"
#include "RunLoop.h"
#include "SwitcherooControl.h"
#include "SystemVersion.h"
#include "TaskWrapper.h"

namespace {

// Beyond a card's own bound, the time its runner may take to stop it.
constexpr double kCardStopSeconds = 2.0;

constexpr const char* kNoDriverOnDisplay = "no OpenGL driver answered on this display";
// With no display the probes go to the computer's graphics devices directly.
constexpr const char* kNoDriverOnDevices =
    "no OpenGL driver answered on any graphics device (there is no display)";

}  // namespace

CommandLineCheck::CommandLineCheck(std::vector<std::string> profilerArguments, double profilerBound,
                                   std::vector<std::string> cardProbeArguments,
                                   double cardProbeBound)
    : mProfilerArguments(std::move(profilerArguments)),
      mProfilerBound(profilerBound),
      mCardProbeBound(cardProbeBound),
      mOtherCards(this, std::move(cardProbeArguments), cardProbeBound) {}

// As closing the window does: every runner still going hears that its controller goes, stops
// its child's group and releases itself at the end of the event, which is now.
CommandLineCheck::~CommandLineCheck() {
    mOtherCards.stop();
    NotificationCenter::defaultCenter().postNotificationName(
        kControllerDiedNotification, static_cast<TaskWrapperController*>(this));
    RunLoop::main().drainDeferred();
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
        return std::string(CurrentDisplaySystem() == DisplaySystem::NoDisplay ? kNoDriverOnDevices
                                                                              : kNoDriverOnDisplay);
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
    checkOtherCards();
    if (mInterrupted) {
        return std::string("interrupted by a signal");  // the destructor stops the cards' probes
    }
    return mFacts;
}

// Waits for each step of the cards' check: the list, then every probe, each bounded by itself.
void CommandLineCheck::checkOtherCards() {
    mOtherCards.start(mFacts, [this] { ++mCardSteps; });
    const double stepBound = std::max(kSwitcherooBoundSeconds, mCardProbeBound) + kCardStopSeconds;
    while (!mOtherCards.finished() && !mInterrupted) {
        const uint64_t before = mCardSteps;
        if (!RunLoop::main().runUntil([&] { return mCardSteps != before || mInterrupted; },
                                      stepBound)) {
            return;
        }
    }
}

void CommandLineCheck::processStarted(TaskWrapper* /*task*/) {}

void CommandLineCheck::processFinished(TaskWrapper* task, bool success) {
    if (mOtherCards.isProbe(task)) {
        mOtherCards.probeFinished(task, success);
        return;
    }
    RecordProfilerRun(mFacts, *mProfileTask, success);
    mProfilerEnded = true;
    mProfileTask = nullptr;
}

// The profiler alone, at its bound: the cards' probes start only after it.
void CommandLineCheck::stopProfiler() {
    if (mProfilerEnded || mProfileTask == nullptr) {
        return;
    }
    NotificationCenter::defaultCenter().postNotificationName(
        kControllerDiedNotification, static_cast<TaskWrapperController*>(this));
    RunLoop::main().drainDeferred();
    mProfileTask = nullptr;
}
