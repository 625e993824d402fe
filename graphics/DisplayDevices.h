// The PCI display controllers of a sysfs tree, what each says of its memory, and their order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "MemoryKind.h"

struct DisplayDevice {
    std::string address;  // "0000:00:02.0"
    uint16_t vendor = 0;
    uint16_t device = 0;
    std::string driver;        // "i915", "amdgpu", ...; empty when unbound
    std::string renderNode;    // "renderD128"; empty when the driver made none
    bool bootDisplay = false;  // boot_vga: the firmware's display at start
    bool lit = false;          // one of its DRM connectors shows a picture now
    bool asleep = false;       // runtime-suspended by power management
    MemorySignals memory;      // the sysfs signals; the driver's are added later
};

// Every device of class 0x03 under root/bus/pci/devices, in address order.
std::vector<DisplayDevice> FindDisplayDevices(const std::string& sysfsRoot);

// How much a device looks like the one driving the main display, compared in order: it is the X
// screen's GPU (where known), it shows a picture, it is the firmware's boot display.
std::tuple<bool, bool, bool> MainDisplayRank(const DisplayDevice& device,
                                             const std::optional<std::string>& screenDevice);

// Puts the device driving the main display last, by its rank; the rest keep address order.
void OrderForMainDisplay(std::vector<DisplayDevice>& devices,
                         const std::optional<std::string>& screenDevice);

// Asks a device's kernel driver what only it can tell of the memory (DriverQueries.h, or a
// recorded machine's answers).
using AskDriverFunction = void (*)(const DisplayDevice& device, MemorySignals& signals);

// Whether the device's memory is its own or the system's: its sysfs signals, and its driver's
// answers where asking is harmless (the device is awake, since opening the render node of one that
// sleeps wakes it, and it has a render node).
MemoryKind DecideDeviceMemory(const DisplayDevice& device, AskDriverFunction ask);

// "8 GB", "768 MB".
std::string SizeText(uint64_t bytes);
