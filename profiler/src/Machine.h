// What the profiler reads of the machine beyond its sysfs files. The program links the running
// system's implementation (SystemMachine.cpp, ScreenDevice.cpp); tests link a recorded machine
// instead.
#pragma once

#include <optional>
#include <string>

#include "DisplayDevices.h"

// Where sysfs is mounted.
std::string SysfsRoot();
// The PCI ID database to read; null for libpci's default.
const char* PciIdsPath();
// Fills the signals that only the device's kernel driver gives, through its render node. Only
// called for a device that is awake: opening the node would wake one that sleeps.
void AskDriver(const DisplayDevice& device, MemorySignals& signals);
// The PCI address of the GPU that the X server renders its default screen with, where it says.
std::optional<std::string> ScreenDevice();
