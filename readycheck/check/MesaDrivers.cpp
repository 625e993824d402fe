#include "MesaDrivers.h"

#include <map>
#include <set>

std::vector<std::string> DriDriverFiles(const std::string& kernelDriver) {
    // i915 runs Gen8 and later on iris, Gen4 to Gen7 on crocus, and i965 is Mesa's older
    // ("Amber") driver for both; radeon's chips span r300, r600 and radeonsi.
    static const std::map<std::string, std::vector<std::string>> kDrivers{
        {"i915", {"iris", "crocus", "i965"}},
        {"xe", {"iris"}},
        {"amdgpu", {"radeonsi"}},
        {"radeon", {"r600", "r300", "radeonsi"}},
        {"nouveau", {"nouveau"}},
        {"virtio_gpu", {"virtio_gpu"}},
        {"vmwgfx", {"vmwgfx"}},
    };
    const auto found = kDrivers.find(kernelDriver);
    std::vector<std::string> files;
    if (found != kDrivers.end()) {
        for (const std::string& name : found->second) {
            files.push_back(name + "_dri.so");
        }
    }
    return files;
}

bool IsBasicDisplayDriver(const std::string& kernelDriver) {
    // PCI drivers, by the names their sysfs driver links carry on older and newer kernels: server
    // management chips and hypervisors' plain adapters. simpledrm and efifb never bind a PCI
    // device: they stand in where no driver took the controller.
    static const std::set<std::string> kBasic{"mgag200",   "ast",         "bochs",     "bochs-drm",
                                              "cirrus",    "cirrus-qemu", "vboxvideo", "hyperv_drm",
                                              "hyperv_fb", "qxl"};
    return kBasic.contains(kernelDriver);
}
