// The check of the computer's other graphics cards: which there are, then each one probed in
// turn by the helper, run through the task runner with that card's environment.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Facts.h"

class GpuListRequest;
class TaskWrapper;
class TaskWrapperController;

// How long one card's probe may take, and how much it may print.
constexpr double kCardProbeBoundSeconds = 10.0;
constexpr std::size_t kCardProbeOutputLimit = std::size_t{64} * 1024;
// How long the whole check may take, from the list to the last probe: three cards whose probes
// each run to their bound, where a real card answers in about a second.
constexpr double kOtherCardsBoundSeconds = 30.0;

class OtherCardsCheck {
public:
    using Changed = std::function<void()>;
    // The card's facts from what the helper printed; none for anything but its answer.
    using AnswerReader = std::function<std::optional<CardFacts>(std::string_view output)>;

    // The controller receives the probes' runs and hands each back through probeFinished;
    // probeArguments are the helper's path and arguments. Each probe ends at probeBound, and
    // none goes on past checkBound from the start: the cards left are not checked in time.
    OtherCardsCheck(TaskWrapperController* controller, std::vector<std::string> probeArguments,
                    double probeBound, AnswerReader readAnswer,
                    double checkBound = kOtherCardsBoundSeconds);
    // A probe still running is stopped by its controller's "died" notice, not here.
    ~OtherCardsCheck();
    OtherCardsCheck(const OtherCardsCheck&) = delete;
    OtherCardsCheck& operator=(const OtherCardsCheck&) = delete;

    // Once the profiler's run has ended: asks switcheroo-control for the cards, else takes the
    // profiler's devices in facts, then probes every card but the main one, one at a time.
    // facts.otherCards follows each step, and changed is told after it. Facts must outlive the
    // check; nothing happens inside this call.
    void start(Facts& facts, Changed changed);
    // Whether the runner is this check's probe.
    bool isProbe(const TaskWrapper* task) const { return task != nullptr && task == mTask; }
    void probeFinished(TaskWrapper* task, bool success);
    // Takes no further step: no list is awaited, no next probe started.
    void stop();
    // True once every card has its answer.
    bool finished() const { return mFinished; }

private:
    void listed(std::vector<OtherCard> cards);
    void probeNext();
    void outOfTime();
    void finish();

    TaskWrapperController* mController;
    std::vector<std::string> mProbeArguments;
    double mProbeBound;
    AnswerReader mReadAnswer;
    double mCheckBound;
    std::chrono::steady_clock::time_point mDeadline;
    bool mProbeCutShort = false;  // the running probe ends at the deadline, before its own bound
    Facts* mFacts = nullptr;
    Changed mChanged;
    std::unique_ptr<GpuListRequest> mRequest;
    TaskWrapper* mTask = nullptr;  // not owned: the runner owns itself
    std::size_t mNext = 0;
    bool mFinished = false;
    // Lets a deferred step see whether the check still exists.
    std::shared_ptr<OtherCardsCheck*> mSelf;
};
