// The PCI display controllers of a sysfs tree, and what each says of its memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DisplayDevice {
    std::string address;  // "0000:00:02.0"
    uint16_t vendor = 0;
    uint16_t device = 0;
    std::string driver;                     // "i915", "amdgpu", ...; empty when unbound
    std::optional<uint64_t> dedicatedVRAM;  // bytes, where the driver tells
};

// Every device of class 0x03 under root/bus/pci/devices, in address order.
std::vector<DisplayDevice> FindDisplayDevices(const std::string& sysfsRoot);

// True for graphics that use system memory: integrated graphics of a CPU, APUs, virtual GPUs.
bool UsesSystemMemory(const DisplayDevice& device);

// "8 GB", "768 MB".
std::string SizeText(uint64_t bytes);
