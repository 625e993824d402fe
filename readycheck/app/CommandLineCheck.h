// The check without a window: the gate, the display chosen (as the window's is open before its
// start-up), then the check session's start-up steps in their order (profiler started, both
// probes, renderer information), then, once the profiler has ended or its bound passed, the other
// graphics cards' probes as the window makes them, and the facts.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "CheckSession.h"
#include "Facts.h"
#include "OtherCardsCheck.h"
#include "TaskWrapperController.h"

class TaskWrapper;

// How long the command line waits for the profiler before it reports the devices as unknown.
constexpr double kProfilerBoundSeconds = 10.0;

class CommandLineCheck final : public TaskWrapperController {
public:
    // The profiler's and the card helper's paths and arguments, as the window runs them, how
    // long each run may take, and all the cards' runs together.
    CommandLineCheck(std::vector<std::string> profilerArguments, double profilerBound,
                     std::vector<std::string> cardProbeArguments, double cardProbeBound,
                     double cardsBound = kOtherCardsBoundSeconds);
    // A runner still going stops through its own notice before this goes.
    ~CommandLineCheck();
    CommandLineCheck(const CommandLineCheck&) = delete;
    CommandLineCheck& operator=(const CommandLineCheck&) = delete;

    // The facts, or why the check could not run.
    std::variant<Facts, std::string> run();
    // Ends the wait for the profiler at once (a termination signal): the profiler is stopped as
    // on a timeout, and the check gives no facts.
    void interrupt() { mInterrupted = true; }

    void processStarted(TaskWrapper* task) override;
    void processFinished(TaskWrapper* task, bool success) override;

private:
    bool interrupted() const;
    void stopProfiler();
    void checkOtherCards();

    std::vector<std::string> mProfilerArguments;
    double mProfilerBound;
    TaskWrapper* mProfileTask = nullptr;  // not owned: the runner owns itself
    bool mProfilerEnded = false;
    bool mInterrupted = false;
    double mCardProbeBound;
    uint64_t mCardSteps = 0;  // told by the cards' check after each of its steps
    CheckSession mSession;
};
