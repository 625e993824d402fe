#include "MemoryKind.h"

namespace {

MemoryKind FromLocalMemory(uint64_t bytes, const char* source) {
    if (bytes == 0) {
        return {true, std::nullopt, source};
    }
    return {false, bytes, source};
}

}  // namespace

MemoryKind DecideMemoryKind(const MemorySignals& signals) {
    if (signals.amdgpuApu) {
        // An APU's "VRAM" is a carve-out of system memory, of whatever size the firmware set.
        if (*signals.amdgpuApu) {
            return {true, std::nullopt, "amdgpu-apu-flag"};
        }
        return {false, signals.amdgpuVram, "amdgpu-apu-flag"};
    }
    if (signals.i915LocalMemory) {
        return FromLocalMemory(*signals.i915LocalMemory, "i915-memory-regions");
    }
    if (signals.xeVram) {
        return FromLocalMemory(*signals.xeVram, "xe-tile-vram");
    }
    // A card in a slot always sits below a root port; what sits on the root bus itself is part
    // of the processor or chipset, or a virtual machine's emulated adapter.
    if (signals.onRootBus) {
        return {true, std::nullopt, "pci-topology"};
    }
    return {false, signals.amdgpuVram, "pci-topology"};
}
