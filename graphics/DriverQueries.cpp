#include "DriverQueries.h"

#include <fcntl.h>
#include <unistd.h>
#include <xf86drm.h>

#include <amdgpu_drm.h>
#include <i915_drm.h>

#include <vector>

namespace {

class RenderNode {
public:
    explicit RenderNode(const std::string& name)
        : fd_(open(("/dev/dri/" + name).c_str(), O_RDWR | O_CLOEXEC)) {}
    ~RenderNode() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    RenderNode(const RenderNode&) = delete;
    RenderNode& operator=(const RenderNode&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

std::optional<bool> AmdgpuApu(int fd) {
    drm_amdgpu_info_device info{};
    drm_amdgpu_info request{};
    request.return_pointer = reinterpret_cast<uintptr_t>(&info);
    request.return_size = sizeof info;
    request.query = AMDGPU_INFO_DEV_INFO;
    if (drmCommandWrite(fd, DRM_AMDGPU_INFO, &request, sizeof request) != 0) {
        return std::nullopt;
    }
    return (info.ids_flags & AMDGPU_IDS_FLAGS_FUSION) != 0;
}

// One query item: its length first, then its data.
std::vector<uint8_t> I915Query(int fd, uint64_t queryId) {
    drm_i915_query_item item{};
    item.query_id = queryId;
    drm_i915_query query{};
    query.num_items = 1;
    query.items_ptr = reinterpret_cast<uintptr_t>(&item);
    if (drmIoctl(fd, DRM_IOCTL_I915_QUERY, &query) != 0 || item.length <= 0) {
        return {};
    }
    std::vector<uint8_t> data(static_cast<size_t>(item.length));
    item.data_ptr = reinterpret_cast<uintptr_t>(data.data());
    if (drmIoctl(fd, DRM_IOCTL_I915_QUERY, &query) != 0 || item.length <= 0) {
        return {};
    }
    return data;
}

// The device-memory regions' sizes; 0 when there are none. Kernels before 5.13 do not answer.
std::optional<uint64_t> I915LocalMemory(int fd) {
    const std::vector<uint8_t> data = I915Query(fd, DRM_I915_QUERY_MEMORY_REGIONS);
    if (data.size() < sizeof(drm_i915_query_memory_regions)) {
        return std::nullopt;
    }
    const auto* list = reinterpret_cast<const drm_i915_query_memory_regions*>(data.data());
    if (data.size() < sizeof *list + list->num_regions * sizeof(drm_i915_memory_region_info)) {
        return std::nullopt;
    }
    uint64_t bytes = 0;
    for (uint32_t i = 0; i < list->num_regions; ++i) {
        if (list->regions[i].region.memory_class == I915_MEMORY_CLASS_DEVICE) {
            bytes += list->regions[i].probed_size;
        }
    }
    return bytes;
}

}  // namespace

void AskKernelDriver(const DisplayDevice& device, MemorySignals& signals) {
    if (device.driver != "amdgpu" && device.driver != "i915") {
        return;
    }
    const RenderNode node(device.renderNode);
    if (node.fd() < 0) {
        return;
    }
    if (device.driver == "amdgpu") {
        signals.amdgpuApu = AmdgpuApu(node.fd());
    } else {
        signals.i915LocalMemory = I915LocalMemory(node.fd());
    }
}
