#include "CheckSession.h"

#include "CardRecording.h"
#include "Causes.h"
#include "DriverProbe.h"
#include "EvidenceSources.h"
#include "FactRecording.h"
#include "GetVRAM.h"
#include "ProbeKit/ProbeKit.h"
#include "SystemVersion.h"
#include "TaskWrapper.h"

CheckSession::CheckSession(TaskWrapperController* controller,
                           std::vector<std::string> cardProbeArguments, double cardProbeBound,
                           OtherCardsCheck::AnswerReader readCardAnswer, double cardsBound)
    : mController(controller),
      mOtherCards(controller, std::move(cardProbeArguments), cardProbeBound,
                  std::move(readCardAnswer), cardsBound) {}

bool CheckSession::SystemSupported() {
    return GestaltSystemVersion() > kSystemVersionRefusalThreshold;
}

TaskWrapper* CheckSession::createProfiler(std::vector<std::string> arguments) {
    auto* task = new TaskWrapper(mController, std::move(arguments), "/", {});
    task->setBounds(0, kDisplayReportLimit);
    return task;
}

bool CheckSession::probeDriver() {
    const auto featuresMask = static_cast<int32_t>(VXGetDriverOpenGLFeatures());
    const DriverIdentity identity = ProbeDriverIdentity();
    RecordDriver(mFacts, featuresMask, identity);
    return identity.answered;
}

int64_t CheckSession::measureVideoMemory() {
    std::optional<bool> mainRendererAccelerated;
    const int64_t videoMemory = GetVRAM(&mainRendererAccelerated);
    RecordVideoMemory(mFacts, videoMemory, mainRendererAccelerated);
    return videoMemory;
}

void CheckSession::describeSystem() {
    RecordSystem(mFacts);
}

std::optional<VideoMemoryKind> CheckSession::profilerFinished(const TaskWrapper& task,
                                                              bool success) {
    RecordProfilerRun(mFacts, task, success);
    return success ? mFacts.videoMemoryKind : std::nullopt;
}

void CheckSession::profilerTimedOut() {
    mFacts.profiler.state = ProfilerState::TimedOut;
}

void CheckSession::checkOtherCards(OtherCardsCheck::Changed changed) {
    mOtherCards.start(mFacts, [this, changed = std::move(changed)] {
        explainOtherCards();
        if (changed) {
            changed();
        }
    });
}

void CheckSession::explainResult() {
    if (!IsReady(mFacts)) {
        mFacts.causes = DecideCauses(mFacts, evidence());
    }
}

void CheckSession::explainOtherCards() {
    for (OtherCard& card : mFacts.otherCards) {
        if (card.status == CardStatus::NotReachable && card.causes.empty()) {
            card.causes = DecideOtherCardCauses(card, evidence());
        }
    }
}

// The X server is asked only where the check drew on it.
const MachineEvidence& CheckSession::evidence() {
    if (!mEvidence) {
        const bool onX = mFacts.displaySystem == DisplaySystem::X11 ||
                         mFacts.displaySystem == DisplaySystem::X11UnderWayland;
        mEvidence = ReadMachineEvidence(LiveEvidenceSources(onX));
    }
    return *mEvidence;
}

void CheckSession::cardProbeFinished(TaskWrapper* task, bool success) {
    mOtherCards.probeFinished(task, success);
}
