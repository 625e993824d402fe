// What assistive technology reads for the results that the window shows as glyphs and pictures:
// each a pure function of the assessment, in the user's language.
#pragma once

#include <string>

#include "FactFields.h"
#include "Facts.h"

// "Shadows: fail" for a check, "Basic edition: full support" for an edition. The window's other
// results are words, which a screen reader reads with their captions.
std::string AccessibleName(AssessmentField field, const Assessment& assessment);

// What a screen reader says after a failed check's name: what was found on this computer, where a
// cause explains the result; empty otherwise, and for an edition.
std::string AccessibleDescription(AssessmentField field, const Facts& facts);
