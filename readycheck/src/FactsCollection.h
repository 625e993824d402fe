// The steps that collect the facts of a check, shared by the window and the command line.
#pragma once

#include <cstdint>
#include <optional>

#include "DriverProbe.h"
#include "Facts.h"

class TaskWrapper;

void RecordDriver(CardFacts& facts, int32_t featuresMask, const DriverIdentity& identity);

// GetVRAM's size and the main renderer's accelerated flag, which decides the rendering before
// the renderer's name does.
void RecordVideoMemory(CardFacts& facts, int64_t bytes,
                       std::optional<bool> mainRendererAccelerated);

// How a child that reached the end of its output ended, from its wait status: finished, with an
// error status, or by a signal.
ProfilerRun EndedRun(std::optional<int> waitStatus);

// The end of the profiler's run: its device entries and memory kind, and how it ended.
void RecordProfilerRun(Facts& facts, const TaskWrapper& task, bool success);

// The program, the operating system and the display system.
void RecordSystem(Facts& facts);
