#include "NvidiaMemory.h"

#include <dlfcn.h>

namespace {

// NVML's own declarations, for the four calls used; the library comes with the driver.
struct NvmlMemory {
    unsigned long long total;
    unsigned long long free;
    unsigned long long used;
};
using NvmlDevice = void*;
using InitFunction = int (*)();
using ShutdownFunction = int (*)();
using HandleFunction = int (*)(const char*, NvmlDevice*);
using MemoryFunction = int (*)(NvmlDevice, NvmlMemory*);
constexpr int kNvmlSuccess = 0;

template <typename T>
T Symbol(void* library, const char* name) {
    return reinterpret_cast<T>(dlsym(library, name));
}

}  // namespace

std::optional<uint64_t> NvidiaDedicatedMemory(const std::string& pciAddress) {
    void* library = dlopen("libnvidia-ml.so.1", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    std::optional<uint64_t> total;
    const auto init = Symbol<InitFunction>(library, "nvmlInit_v2");
    const auto shutdown = Symbol<ShutdownFunction>(library, "nvmlShutdown");
    const auto handle = Symbol<HandleFunction>(library, "nvmlDeviceGetHandleByPciBusId_v2");
    const auto memory = Symbol<MemoryFunction>(library, "nvmlDeviceGetMemoryInfo");
    if (init != nullptr && shutdown != nullptr && handle != nullptr && memory != nullptr &&
        init() == kNvmlSuccess) {
        NvmlDevice device = nullptr;
        NvmlMemory info{};
        if (handle(pciAddress.c_str(), &device) == kNvmlSuccess &&
            memory(device, &info) == kNvmlSuccess) {
            total = info.total;
        }
        shutdown();
    }
    dlclose(library);
    return total;
}
