// The video memory of the main display's first accelerated, window-capable renderer.
#pragma once

#include <cstdint>
#include <optional>

// In bytes; 0 when no renderer qualifies or the query fails. 64-bit: today's cards hold more
// than 2 GiB. When asked, also tells whether the main display's renderer (the first listed) is
// accelerated, from the same query; nothing when the information has no renderer.
int64_t GetVRAM(std::optional<bool>* mainRendererAccelerated = nullptr);
