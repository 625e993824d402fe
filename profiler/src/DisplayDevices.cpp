#include "DisplayDevices.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr unsigned long kDisplayClass = 0x03;
constexpr uint16_t kIntel = 0x8086;
constexpr uint16_t kAMD = 0x1002;
constexpr uint64_t kMiB = 1ULL << 20;
constexpr uint64_t kGiB = 1ULL << 30;
// amdgpu reports a carve-out of system memory as VRAM on APUs; no discrete card has this little.
constexpr uint64_t kLargestApuCarveOut = 1ULL << 30;

// Vendors of virtual machines' display adapters.
constexpr uint16_t kVirtualVendors[] = {0x1234, 0x15AD, 0x1AF4, 0x80EE, 0x1B36, 0x1414};

// Intel's discrete graphics: DG1, Arc (Alchemist) and Arc B (Battlemage).
bool IsIntelDiscrete(uint16_t device) {
    return (device >= 0x4905 && device <= 0x4909) || (device >= 0x5690 && device <= 0x56BF) ||
           (device >= 0xE202 && device <= 0xE212);
}

std::optional<std::string> ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    return line;
}

std::optional<unsigned long long> ReadNumber(const fs::path& file) {
    const auto line = ReadLine(file);
    if (!line) {
        return std::nullopt;
    }
    try {
        return std::stoull(*line, nullptr, 0);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<uint64_t> DedicatedMemory(const fs::path& device, const std::string& driver) {
    if (driver == "amdgpu") {
        return ReadNumber(device / "mem_info_vram_total");
    }
    return std::nullopt;
}

}  // namespace

std::vector<DisplayDevice> FindDisplayDevices(const std::string& sysfsRoot) {
    std::vector<DisplayDevice> devices;
    const fs::path bus = fs::path(sysfsRoot) / "bus/pci/devices";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(bus, error)) {
        const fs::path& path = entry.path();
        const auto pciClass = ReadNumber(path / "class");
        if (!pciClass || (*pciClass >> 16) != kDisplayClass) {
            continue;
        }
        DisplayDevice device;
        device.address = path.filename().string();
        device.vendor = static_cast<uint16_t>(ReadNumber(path / "vendor").value_or(0));
        device.device = static_cast<uint16_t>(ReadNumber(path / "device").value_or(0));
        std::error_code noDriver;
        const fs::path driver = fs::read_symlink(path / "driver", noDriver);
        if (!noDriver) {
            device.driver = driver.filename().string();
        }
        device.dedicatedVRAM = DedicatedMemory(path, device.driver);
        devices.push_back(std::move(device));
    }
    std::sort(devices.begin(), devices.end(),
              [](const auto& a, const auto& b) { return a.address < b.address; });
    return devices;
}

bool UsesSystemMemory(const DisplayDevice& device) {
    if (std::find(std::begin(kVirtualVendors), std::end(kVirtualVendors), device.vendor) !=
        std::end(kVirtualVendors)) {
        return true;
    }
    if (device.vendor == kIntel) {
        return !IsIntelDiscrete(device.device);
    }
    if (device.vendor == kAMD && device.dedicatedVRAM) {
        return *device.dedicatedVRAM <= kLargestApuCarveOut;
    }
    return false;
}

std::string SizeText(uint64_t bytes) {
    if (bytes >= kGiB && bytes % kGiB == 0) {
        return std::to_string(bytes / kGiB) + " GB";
    }
    return std::to_string(bytes / kMiB) + " MB";
}
