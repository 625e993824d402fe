// The steps that collect the facts of a check, shared by the window and the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Facts.h"

class TaskWrapper;

struct DriverIdentity {
    std::optional<std::string> vendor;
    std::optional<std::string> renderer;
    std::optional<std::string> version;
    bool answered = false;  // the probe returned a handle
};

// Asks ProbeKit for the identity, copies positions 1 to 3 and disposes of the array at once.
DriverIdentity ProbeDriverIdentity();

void RecordDriver(Facts& facts, int32_t featuresMask, const DriverIdentity& identity);

// GetVRAM's size and the main renderer's accelerated flag, which decides the rendering before
// the renderer's name does.
void RecordVideoMemory(Facts& facts, int64_t bytes, std::optional<bool> mainRendererAccelerated);

// The end of the profiler's run: its device entries and memory kind, and how it ended.
void RecordProfilerRun(Facts& facts, const TaskWrapper& task, bool success);

// The program, the operating system and the display system.
void RecordSystem(Facts& facts);
