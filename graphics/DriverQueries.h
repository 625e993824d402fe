// What a display controller's kernel driver says about its memory, through its render node.
#pragma once

#include "DisplayDevices.h"

// Fills the signals that only amdgpu's and i915's own queries give. Call it only for a device
// that is awake: opening the node of one that sleeps wakes it.
void AskKernelDriver(const DisplayDevice& device, MemorySignals& signals);
