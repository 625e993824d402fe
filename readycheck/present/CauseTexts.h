// The words that tell why a result is not ready: what was found on this computer and what to do.
#pragma once

#include <string>
#include <vector>

#include "Cause.h"

// What was found and what to do, in the user's language.
std::string CauseFoundText(const Cause& cause);
std::string CauseAdviceText(const Cause& cause);
// What to do in English, whatever the locale: the JSON's words.
std::string CauseAdviceInEnglish(const Cause& cause);

// "On this computer: ..." with "What to do: ..." beneath, a paragraph per cause: the start of an
// alert that explains a result that is not ready. Empty without a cause.
std::string CausesParagraphs(const std::vector<Cause>& causes);
// "On this computer: ..." for the first cause, on one line; empty without a cause.
std::string FirstCauseLine(const std::vector<Cause>& causes);
