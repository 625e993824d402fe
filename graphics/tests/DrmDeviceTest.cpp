// Which display controller of a recorded machine owns the DRM node that EGL names for a device,
// and which device to draw with when there is no display.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "DrmDevice.h"

namespace {

TEST(DrmDevice, TheControllerThatOwnsTheNode) {
    for (const auto& [machine, node, address] : {
             std::tuple{"laptop-intel-nvidia", "/dev/dri/renderD128", "0000:00:02.0"},
             std::tuple{"laptop-intel-nvidia", "/dev/dri/renderD129", "0000:01:00.0"},
             std::tuple{"laptop-intel-nvidia", "/dev/dri/card1", "0000:01:00.0"},
             std::tuple{"amd-apu-amdgpu", "/dev/dri/renderD128", "0000:04:00.0"},
             std::tuple{"qemu-stdvga", "/dev/dri/renderD128", "none"},
             std::tuple{"no-display", "/dev/dri/card0", "none"},
             std::tuple{"laptop-intel-nvidia", "", "none"},
         }) {
        const auto device =
            DisplayDeviceOfNode(std::string(MACHINES) + "/" + machine + "/sys", node);
        EXPECT_EQ(device ? device->address : "none", address) << machine << " " << node;
    }
}

// The software device is given first, then the GPUs by node number.
TEST(DrmDevice, WithoutDisplayTheGpuThatShowsAPictureThenTheBootDisplayThenSoftware) {
    for (const auto& [machine, order] : {
             // both panels lit: the firmware's boot display decides
             std::tuple{"laptop-external-monitor", std::vector<std::size_t>{1, 2, 0}},
             // the boot display's outputs are dark
             std::tuple{"desktop-intel-nvidia", std::vector<std::size_t>{2, 1, 0}},
             std::tuple{"desktop-ryzen-discrete", std::vector<std::size_t>{1, 2, 0}},
             // no controller owns the nodes: EGL's order
             std::tuple{"no-display", std::vector<std::size_t>{1, 2, 0}},
         }) {
        const std::vector<RenderDevice> devices{
            {false, ""}, {true, "/dev/dri/renderD128"}, {true, "/dev/dri/renderD129"}};
        EXPECT_EQ(OrderWithoutDisplay(std::string(MACHINES) + "/" + machine + "/sys", devices),
                  order)
            << machine;
    }
    EXPECT_EQ(OrderWithoutDisplay("/nonexistent", {{false, ""}, {true, "/dev/dri/renderD128"}}),
              (std::vector<std::size_t>{1, 0}));
}

}  // namespace
