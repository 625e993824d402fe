// Reads the display profiler's XML property list: the kind of video memory and the device entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class VideoMemoryKind { Shared, Dedicated };

// The most of the profiler's output that is read; a report is a few KiB. Output that reaches it is
// no report, and the profiler is stopped there, so that one writing without end cannot fill the
// program's memory.
constexpr std::size_t kDisplayReportLimit = std::size_t{8} << 20;

// The kind given by the last device entry of the first display report whose "spdisplays_vram"
// is a string; nothing when the bytes hold no property list, the root is not an array, there is
// no display report, its "_items" is not an array, or no entry tells. Text around the property
// list (warnings the profiler's libraries print) is ignored.
std::optional<VideoMemoryKind> ReadVideoMemoryKind(const uint8_t* bytes, std::size_t size);

// One PCI display controller as the display profiler lists it; absent strings were not reported.
struct DisplayController {
    std::optional<std::string> name;        // "_name", else "sppci_model"
    std::optional<std::string> vendor;      // "spdisplays_vendor"
    std::optional<std::string> vendorId;    // "spdisplays_vendor-id", "0x10de"
    std::optional<std::string> deviceId;    // "spdisplays_device-id", "0x25a2"
    std::optional<std::string> pciAddress;  // "sppci_bus", "0000:01:00.0"
    std::optional<std::string> driver;      // "spdisplays_driver"
    std::optional<std::string> memory;      // "spdisplays_vram"
    bool drivesScreen = false;              // the last entry, whose memory kind the window shows
    bool operator==(const DisplayController&) const = default;
};

// Every entry of the first display report's "_items" that is a dictionary, in order; found
// under the same rules as the memory kind, and empty where that finds no "_items" array.
std::vector<DisplayController> ReadDisplayDevices(const uint8_t* bytes, std::size_t size);
