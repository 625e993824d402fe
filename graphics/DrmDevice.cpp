#include "DrmDevice.h"

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <tuple>

namespace fs = std::filesystem;

std::optional<DisplayDevice> DisplayDeviceOfNode(const std::string& sysfsRoot,
                                                 const std::string& node) {
    const std::string name = fs::path(node).filename().string();
    if (name.empty()) {
        return std::nullopt;
    }
    for (DisplayDevice& device : FindDisplayDevices(sysfsRoot)) {
        std::error_code error;
        if (fs::exists(fs::path(sysfsRoot) / "bus/pci/devices" / device.address / "drm" / name,
                       error)) {
            return std::move(device);
        }
    }
    return std::nullopt;
}

std::optional<int64_t> KernelVideoMemory(const std::string& sysfsRoot, const std::string& node,
                                         AskDriverFunction ask, int64_t systemMemory) {
    const std::optional<DisplayDevice> controller = DisplayDeviceOfNode(sysfsRoot, node);
    if (!controller) {
        return std::nullopt;
    }
    const MemoryKind kind = DecideDeviceMemory(*controller, ask);
    if (kind.shared) {
        return systemMemory;
    }
    return kind.bytes ? std::optional(static_cast<int64_t>(*kind.bytes)) : std::nullopt;
}

std::vector<std::size_t> OrderWithoutDisplay(const std::string& sysfsRoot,
                                             const std::vector<RenderDevice>& devices) {
    using Rank = std::tuple<bool, std::tuple<bool, bool, bool>>;
    std::vector<Rank> ranks;
    const bool choice = std::count_if(devices.begin(), devices.end(),
                                      [](const RenderDevice& d) { return d.hardware; }) > 1;
    for (const RenderDevice& device : devices) {
        const auto controller =
            choice && device.hardware ? DisplayDeviceOfNode(sysfsRoot, device.node) : std::nullopt;
        ranks.emplace_back(device.hardware, controller ? MainDisplayRank(*controller, std::nullopt)
                                                       : std::tuple(false, false, false));
    }
    std::vector<std::size_t> order(devices.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return ranks[a] > ranks[b]; });
    return order;
}
