// What the cause rules share: how they write PCI ids and lists, a controller's evidence, the
// family's advice keys, and what shows a virtual machine.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

#include "CauseRules.h"

std::string PciIdText(const PciDevice& device) {
    char text[10];
    std::snprintf(text, sizeof text, "%04x:%04x", device.vendor, device.device);
    return text;
}

std::string Joined(const std::vector<std::string>& items, const std::string& separator) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : separator) + item;
    }
    return text;
}

Evidence ControllerFacts(const ControllerEvidence& controller) {
    return {{"controller", controller.pci.address},
            {"pci_id", PciIdText(controller.pci)},
            {"kernel_driver", controller.driver.empty() ? "none" : controller.driver}};
}

std::string FamilyKey(const std::string& key, DistributionFamily family) {
    switch (family) {
        case DistributionFamily::Debian:
            return key + "_debian";
        case DistributionFamily::Fedora:
            return key + "_fedora";
        case DistributionFamily::Arch:
            return key + "_arch";
        case DistributionFamily::Suse:
            return key + "_suse";
        case DistributionFamily::Other:
            break;
    }
    return key;
}

bool IsVirtualDevice(const PciDevice& device) {
    // virtio, VMware, QEMU's own devices, Bochs' display, VirtualBox, Hyper-V; and QEMU's
    // emulated Cirrus card, whose vendor also made real ones.
    static constexpr uint16_t kVendors[] = {0x1af4, 0x15ad, 0x1b36, 0x1234, 0x80ee, 0x1414};
    return std::find(std::begin(kVendors), std::end(kVendors), device.vendor) !=
               std::end(kVendors) ||
           (device.vendor == 0x1013 && device.device == 0x00b8);
}

namespace {

bool NamesHypervisor(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* name : {"qemu", "kvm", "vmware", "virtualbox", "innotek", "xen", "bochs",
                             "parallels", "virtual machine", "bhyve", "google compute engine",
                             "amazon ec2", "openstack", "cloud hypervisor"}) {
        if (text.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

Evidence HypervisorDmi(const MachineEvidence& evidence) {
    if (!NamesHypervisor(evidence.dmiVendor + " " + evidence.dmiProduct)) {
        return {};
    }
    return {{"dmi_sys_vendor", evidence.dmiVendor}, {"dmi_product_name", evidence.dmiProduct}};
}

Evidence VirtualMachineFacts(const MachineEvidence& evidence) {
    if (Evidence dmi = HypervisorDmi(evidence); !dmi.empty()) {
        return dmi;
    }
    for (const PciDevice& device : evidence.pciDevices) {
        if (IsVirtualDevice(device)) {
            return {{"virtual_pci_device", device.address + " (" + PciIdText(device) + ")"}};
        }
    }
    if (evidence.hypervisorFlag) {
        return {{"cpu_flag", "hypervisor"}};
    }
    return {};
}
