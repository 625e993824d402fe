// What another card's probe tells about the card.
#pragma once

#include <optional>
#include <string>

#include "Facts.h"

// How the helper's run for a card ended, as the runner tells it.
struct CardProbeRun {
    bool launched = true;
    std::string launchMessage;  // the runner's message when the helper could not be started
    bool timedOut = false;      // stopped at the bound
    std::optional<int> waitStatus;
    bool printed = false;             // it wrote to its output
    std::optional<CardFacts> answer;  // read from its output; none when that is no answer
    bool checkOutOfTime = false;      // the bound it was stopped at was the whole check's
};

// Sets the card's status, cause and facts. A whole answer counts however the helper ended
// afterwards; without one, the cause is the bound (the probe's own, or the whole check's), else
// what it printed instead, else the way it ended (the runner's stop at the end of the output may
// have ended it by a signal). An answer drawn by the main card's renderer, or in software where
// the main card draws in hardware, is none of the card's own: offload did not take.
void JudgeCardProbe(OtherCard& card, const CardFacts& mainCard, const CardProbeRun& run);

// A card the whole check had no time left for.
void JudgeCardNotChecked(OtherCard& card);
