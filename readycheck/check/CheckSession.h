// One check of the computer's graphics: the start-up's work in its order, each step once, for
// the window and the command line alike. The session owns the facts it records; the window and
// the command line present them and keep no copies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DisplayReport.h"
#include "Facts.h"
#include "MachineEvidence.h"
#include "OtherCardsCheck.h"

class TaskWrapper;
class TaskWrapperController;

class CheckSession {
public:
    // The controller receives the runs of the profiler and of the cards' probes; the cards'
    // helper is run with cardProbeArguments, each run bounded by cardProbeBound, all of them by
    // cardsBound.
    CheckSession(TaskWrapperController* controller, std::vector<std::string> cardProbeArguments,
                 double cardProbeBound, OtherCardsCheck::AnswerReader readCardAnswer,
                 double cardsBound = kOtherCardsBoundSeconds);
    CheckSession(const CheckSession&) = delete;
    CheckSession& operator=(const CheckSession&) = delete;

    // The operating-system gate: whether this system is recent enough to check.
    static bool SystemSupported();

    // The runner of the display profiler with these arguments in "/", reporting to the
    // controller, its output bounded by kDisplayReportLimit. Once started it owns itself and
    // lives until its end has been reported; a launch that fails reports inside startProcess.
    TaskWrapper* createProfiler(std::vector<std::string> arguments);
    // The feature probe, then the identity probe; false when the identity probe gave no answer.
    bool probeDriver();
    // GetVRAM's size and the rendering it tells; returns the size in bytes.
    int64_t measureVideoMemory();
    // The program, the operating system and the display system.
    void describeSystem();

    // The profiler's end as its runner reports it: its devices and memory kind, and how it ended.
    // Returns the memory kind, where it told one.
    std::optional<VideoMemoryKind> profilerFinished(const TaskWrapper& task, bool success);
    // The profiler was stopped at a bound: its devices stay unknown.
    void profilerTimedOut();

    // Once the profiler's run has ended: the other graphics cards, each probed in turn; changed
    // is told after each step.
    void checkOtherCards(OtherCardsCheck::Changed changed);
    bool isCardProbe(const TaskWrapper* task) const { return mOtherCards.isProbe(task); }
    void cardProbeFinished(TaskWrapper* task, bool success);
    bool otherCardsChecked() const { return mOtherCards.finished(); }
    // Takes no further step of the cards' check.
    void stopOtherCards() { mOtherCards.stop(); }

    // Why the main card's result is not ready: the machine's evidence, read once and only for a
    // result that is not ready, and the causes decided from it. After describeSystem.
    void explainResult();

    const Facts& facts() const { return mFacts; }

private:
    // The causes of each other card that is not reachable, once it is judged.
    void explainOtherCards();
    const MachineEvidence& evidence();

    TaskWrapperController* mController;
    Facts mFacts;
    std::optional<MachineEvidence> mEvidence;
    OtherCardsCheck mOtherCards;
};
