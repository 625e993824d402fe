// The facts as one JSON object, for scripts and inventory tools. Field names are fixed and never
// translated: scripts look for them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Facts.h"

// Pretty-printed, ended by a newline.
std::string FactsJson(const Facts& facts);

// The fields of one card's probe alone, as FactsJson writes them for the main card: what the
// helper that probes another card prints.
std::string CardJson(const CardFacts& card);

// The card back from what CardJson wrote; none for anything else. The checks and editions are
// decided again on the mask read.
std::optional<CardFacts> ReadCardJson(std::string_view text);
