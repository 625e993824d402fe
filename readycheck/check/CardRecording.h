// What one card's probes found, recorded in its facts: the main card's in the check, another
// card's in the helper that probes it.
#pragma once

#include <cstdint>
#include <optional>

#include "DriverProbe.h"
#include "Facts.h"

void RecordDriver(CardFacts& facts, int32_t featuresMask, const DriverIdentity& identity);

// GetVRAM's size and the main renderer's accelerated flag, which decides the rendering before
// the renderer's name does.
void RecordVideoMemory(CardFacts& facts, int64_t bytes,
                       std::optional<bool> mainRendererAccelerated);
