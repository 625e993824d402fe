// Whether a display controller's memory is its own or the system's, from what the hardware and
// its driver report about it.
#pragma once

#include <cstdint>
#include <optional>

// What was learnt about one device; each field is empty where its source did not answer.
struct MemorySignals {
    std::optional<bool> amdgpuApu;            // amdgpu's device info: AMDGPU_IDS_FLAGS_FUSION
    std::optional<uint64_t> amdgpuVram;       // amdgpu's mem_info_vram_total, bytes
    std::optional<uint64_t> i915LocalMemory;  // i915's device-memory regions, bytes; 0 for none
    std::optional<uint64_t> xeVram;           // xe's tile0/physical_vram_size_bytes; 0 for none
    bool onRootBus = false;  // on a host bridge's own bus: built into the processor or chipset
};

struct MemoryKind {
    bool shared = false;
    std::optional<uint64_t> bytes;  // dedicated memory, where known
    const char* source = "";        // the signal that decided, as the report names it
};

// The driver's own answers first; the device's place on the PCI bus when no driver answered.
MemoryKind DecideMemoryKind(const MemorySignals& signals);
