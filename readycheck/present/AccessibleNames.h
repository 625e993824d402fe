// What assistive technology reads for the results that the window shows as glyphs and pictures:
// each a pure function of the assessment, in the user's language.
#pragma once

#include <string>

#include "Facts.h"

enum class Check { Offscreen, Shadows, Lighting, AntiAliasing };
enum class Edition { Basic, Advanced, Duo };

// "Shadows: fail".
std::string CheckAccessibleName(Check check, const Assessment& assessment);

// "Basic edition: full support".
std::string EditionAccessibleName(Edition edition, const Assessment& assessment);
