#include "DisplayDevices.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr unsigned long kDisplayClass = 0x03;
constexpr uint64_t kMiB = 1ULL << 20;
constexpr uint64_t kGiB = 1ULL << 30;

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

std::string LinkName(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    return error ? std::string() : target.filename().string();
}

std::string RenderNode(const fs::path& device) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(device / "drm", error)) {
        std::string name = entry.path().filename().string();
        if (name.starts_with("renderD")) {
            return name;
        }
    }
    return {};
}

// drm/cardN/cardN-eDP-1/enabled says "enabled" while the connector is driven: sysfs reports the
// driver's last state without probing the hardware.
bool Lit(const fs::path& device) {
    std::error_code error;
    for (const auto& card : fs::directory_iterator(device / "drm", error)) {
        const std::string prefix = card.path().filename().string() + "-";
        for (const auto& connector : fs::directory_iterator(card.path(), error)) {
            if (connector.path().filename().string().starts_with(prefix) &&
                ReadLine(connector.path() / "enabled") == "enabled") {
                return true;
            }
        }
    }
    return false;
}

// The device's parent in the device tree is a host bridge ("pci0000:00") rather than a bridge.
bool OnRootBus(const fs::path& device) {
    std::error_code error;
    const fs::path real = fs::canonical(device, error);
    return !error && real.parent_path().filename().string().starts_with("pci");
}

MemorySignals SysfsSignals(const fs::path& device, const std::string& driver) {
    MemorySignals signals;
    signals.onRootBus = OnRootBus(device);
    if (driver == "amdgpu") {
        signals.amdgpuVram = ReadNumber(device / "mem_info_vram_total");
    }
    std::error_code error;
    if (driver == "xe" && fs::is_directory(device / "tile0", error)) {
        // The driver writes this file for discrete parts only.
        signals.xeVram = ReadNumber(device / "tile0/physical_vram_size_bytes").value_or(0);
    }
    return signals;
}

}  // namespace

std::vector<DisplayDevice> FindDisplayDevices(const std::string& sysfsRoot) {
    std::vector<DisplayDevice> devices;
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator(fs::path(sysfsRoot) / "bus/pci/devices", error)) {
        const fs::path& path = entry.path();
        const auto pciClass = ReadNumber(path / "class");
        if (!pciClass || (*pciClass >> 16) != kDisplayClass) {
            continue;
        }
        DisplayDevice device;
        device.address = path.filename().string();
        device.vendor = static_cast<uint16_t>(ReadNumber(path / "vendor").value_or(0));
        device.device = static_cast<uint16_t>(ReadNumber(path / "device").value_or(0));
        device.driver = LinkName(path / "driver");
        device.renderNode = RenderNode(path);
        device.bootDisplay = ReadNumber(path / "boot_vga").value_or(0) == 1;
        device.lit = Lit(path);
        device.asleep = ReadLine(path / "power/runtime_status").value_or("").starts_with("suspend");
        device.memory = SysfsSignals(path, device.driver);
        devices.push_back(std::move(device));
    }
    std::sort(devices.begin(), devices.end(),
              [](const auto& a, const auto& b) { return a.address < b.address; });
    return devices;
}

std::tuple<bool, bool, bool> MainDisplayRank(const DisplayDevice& device,
                                             const std::optional<std::string>& screenDevice) {
    return std::tuple(device.address == screenDevice, device.lit, device.bootDisplay);
}

void OrderForMainDisplay(std::vector<DisplayDevice>& devices,
                         const std::optional<std::string>& screenDevice) {
    std::stable_sort(devices.begin(), devices.end(), [&](const auto& a, const auto& b) {
        return MainDisplayRank(a, screenDevice) < MainDisplayRank(b, screenDevice);
    });
}

MemoryKind DecideDeviceMemory(const DisplayDevice& device, AskDriverFunction ask) {
    MemorySignals signals = device.memory;
    if (!device.asleep && !device.renderNode.empty()) {
        ask(device, signals);
    }
    return DecideMemoryKind(signals);
}

std::string SizeText(uint64_t bytes) {
    if (bytes >= kGiB && bytes % kGiB == 0) {
        return std::to_string(bytes / kGiB) + " GB";
    }
    return std::to_string(bytes / kMiB) + " MB";
}
