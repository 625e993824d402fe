// Dedicated memory of an NVIDIA card through NVML, when the driver installed it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

std::optional<uint64_t> NvidiaDedicatedMemory(const std::string& pciAddress);
