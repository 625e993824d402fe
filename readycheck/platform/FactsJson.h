// The facts as one JSON object, for scripts and inventory tools. Field names are fixed and never
// translated: scripts look for them.
#pragma once

#include <string>

#include "Facts.h"

// Pretty-printed, ended by a newline.
std::string FactsJson(const Facts& facts);
