// The facts recorded from the profiler's run and from the system the check runs on.
#pragma once

#include <cstdint>
#include <optional>

#include "CardRecording.h"
#include "Facts.h"

class TaskWrapper;

// How a child that reached the end of its output ended, from its wait status: finished, with an
// error status, or by a signal.
ProfilerRun EndedRun(std::optional<int> waitStatus);

// The end of the profiler's run: its device entries and memory kind, and how it ended; none of
// them from output that reached its bound.
void RecordProfilerRun(Facts& facts, const TaskWrapper& task, bool success);

// The program, the operating system and the display system.
void RecordSystem(Facts& facts);
