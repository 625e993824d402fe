// Why a result is not ready, decided from what the check found and what the machine shows.
#pragma once

#include <vector>

#include "Cause.h"
#include "Facts.h"
#include "MachineEvidence.h"

// Hardware rendering with every check passed: nothing to explain.
bool IsReady(const CardFacts& facts);

// The causes of the main card's result, most specific first. None for a ready result (hardware
// rendering with every check passed) and none that the evidence does not show.
std::vector<Cause> DecideCauses(const CardFacts& facts, const MachineEvidence& evidence);

// The causes for another card that its probe did not reach, from the same evidence narrowed to
// the display controller that the card's environment selects; none for a card in any other state.
std::vector<Cause> DecideOtherCardCauses(const OtherCard& card, const MachineEvidence& evidence);
