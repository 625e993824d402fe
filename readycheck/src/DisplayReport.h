// Reads the kind of video memory from the display profiler's XML property list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

enum class VideoMemoryKind { Shared, Dedicated };

// The kind given by the last device entry of the first display report whose "spdisplays_vram"
// is a string; nothing when the bytes are no property list, the root is not an array, there is
// no display report, its "_items" is not an array, or no entry tells.
std::optional<VideoMemoryKind> ReadVideoMemoryKind(const uint8_t* bytes, std::size_t size);
