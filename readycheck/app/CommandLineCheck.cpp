#include "CommandLineCheck.h"

#include <algorithm>
#include <cstdint>

#include "DisplayChoice.h"
#include "FactsJson.h"
#include "LocalizedStrings.h"
#include "NotificationCenter.h"
#include "RunLoop.h"
#include "ServerWait.h"
#include "StringFormat.h"
#include "SwitcherooControl.h"
#include "SystemVersion.h"
#include "TaskWrapper.h"

namespace {

// Beyond a card's own bound, the time its runner may take to stop it.
constexpr double kCardStopSeconds = 2.0;

}  // namespace

CommandLineCheck::CommandLineCheck(std::vector<std::string> profilerArguments, double profilerBound,
                                   std::vector<std::string> cardProbeArguments,
                                   double cardProbeBound, double cardsBound)
    : mProfilerArguments(std::move(profilerArguments)),
      mProfilerBound(profilerBound),
      mCardProbeBound(cardProbeBound),
      mSession(this, std::move(cardProbeArguments), cardProbeBound, ReadCardJson, cardsBound) {}

// As closing the window does: every runner still going hears that its controller goes, stops
// its child's group and releases itself at the end of the event, which is now.
CommandLineCheck::~CommandLineCheck() {
    mSession.stopOtherCards();
    NotificationCenter::defaultCenter().postNotificationName(
        kControllerDiedNotification, static_cast<TaskWrapperController*>(this));
    RunLoop::main().drainDeferred();
}

std::variant<Facts, std::string> CommandLineCheck::run() {
    if (!CheckSession::SystemSupported()) {
        return StringWithFormat(LocalizedString("CommandLineOsTooOld"),
                                {OperatingSystemVersionString()});
    }
    // As the window's display is open before its start-up: the profiler and the probes are told
    // which display answered.
    ChooseDisplayByRule();
    if (interrupted()) {
        return LocalizedString("CommandLineInterrupted");
    }
    mProfileTask = mSession.createProfiler(mProfilerArguments);
    mProfileTask->startProcess();
    const bool answered = mSession.probeDriver();
    mSession.measureVideoMemory();
    if (interrupted()) {
        stopProfiler();
        return LocalizedString("CommandLineInterrupted");
    }
    if (!answered) {
        stopProfiler();
        return LocalizedString(CurrentDisplaySystem() == DisplaySystem::NoDisplay
                                   ? "CommandLineNoDriverNoDisplay"
                                   : "CommandLineNoDriver");
    }
    if (!RunLoop::main().runUntil([this] { return mProfilerEnded || mInterrupted; },
                                  mProfilerBound)) {
        stopProfiler();
        mSession.profilerTimedOut();
    }
    if (mInterrupted) {
        stopProfiler();
        return LocalizedString("CommandLineInterrupted");
    }
    mSession.describeSystem();
    mSession.explainResult();
    checkOtherCards();
    if (mInterrupted) {
        return LocalizedString("CommandLineInterrupted");  // the destructor stops the cards' probes
    }
    return mSession.facts();
}

// A signal that the main loop has not taken yet, held while a probe waited for its display, counts.
bool CommandLineCheck::interrupted() const {
    return mInterrupted || Graphics::TerminationSignalWaiting();
}

// Waits for each step of the cards' check: the list, then every probe, each bounded by itself.
void CommandLineCheck::checkOtherCards() {
    mSession.checkOtherCards([this] { ++mCardSteps; });
    const double stepBound = std::max(kSwitcherooBoundSeconds, mCardProbeBound) + kCardStopSeconds;
    while (!mSession.otherCardsChecked() && !mInterrupted) {
        const uint64_t before = mCardSteps;
        if (!RunLoop::main().runUntil([&] { return mCardSteps != before || mInterrupted; },
                                      stepBound)) {
            return;
        }
    }
}

void CommandLineCheck::processStarted(TaskWrapper* /*task*/) {}

void CommandLineCheck::processFinished(TaskWrapper* task, bool success) {
    if (mSession.isCardProbe(task)) {
        mSession.cardProbeFinished(task, success);
        return;
    }
    mSession.profilerFinished(*task, success);
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
