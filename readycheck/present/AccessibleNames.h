// What assistive technology reads for the results that the window shows as glyphs and pictures:
// each a pure function of the assessment, in the user's language.
#pragma once

#include <string>

#include "FactFields.h"
#include "Facts.h"

// "Shadows: fail" for a check, "Basic edition: full support" for an edition. The window's other
// results are words, which a screen reader reads with their captions.
std::string AccessibleName(AssessmentField field, const Assessment& assessment);
