// Reads the display profiler's XML property list: the kind of video memory and the device entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class VideoMemoryKind { Shared, Dedicated };

// The kind given by the last device entry of the first display report whose "spdisplays_vram"
// is a string; nothing when the bytes hold no property list, the root is not an array, there is
// no display report, its "_items" is not an array, or no entry tells. Text around the property
// list (warnings the profiler's libraries print) is ignored.
std::optional<VideoMemoryKind> ReadVideoMemoryKind(const uint8_t* bytes, std::size_t size);

// One device entry of the display report, with the string values it holds.
struct DisplayDeviceEntry {
    std::optional<std::string> name;    // "_name", else "sppci_model"
    std::optional<std::string> driver;  // "spdisplays_driver"
    std::optional<std::string> vram;    // "spdisplays_vram"
    bool operator==(const DisplayDeviceEntry&) const = default;
};

// Every entry of the first display report's "_items" that is a dictionary, in order; found
// under the same rules as the memory kind, and empty where that finds no "_items" array.
std::vector<DisplayDeviceEntry> ReadDisplayDevices(const uint8_t* bytes, std::size_t size);
