// What assistive technology reads for the results that the window shows as glyphs and pictures:
// each a pure function of the assessment, in the user's language.
#pragma once

#include <string>

#include "FactFields.h"
#include "Facts.h"

// "Shadows: fail" for a check, "Basic edition: full support" for an edition; empty for a field
// that the window shows as words, which a screen reader reads with its caption.
std::string AccessibleName(FactField field, const Assessment& assessment);
