#include <fstream>
#include <sstream>

#include "EvidenceReaders.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned long kDisplayClass = 0x03;
// EFI's global variable GUID; the variable holds four bytes of attributes and then its value.
constexpr const char* kSecureBootVariable =
    "sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c";
constexpr std::size_t kEfiAttributesSize = 4;

unsigned long Number(const fs::path& file) {
    try {
        return std::stoul(FirstLine(file).value_or("0"), nullptr, 0);
    } catch (const std::exception&) {
        return 0;
    }
}

std::vector<std::string> DrmNodes(const fs::path& device) {
    std::vector<std::string> nodes;
    for (const std::string& name : FolderNames(device / "drm")) {
        if (name.starts_with("card") || name.starts_with("renderD")) {
            nodes.push_back(name);
        }
    }
    return nodes;
}

// virtio's PCI function is bound to the transport (virtio-pci); the GPU driver and its DRM nodes
// sit on the virtio device below it.
ControllerEvidence Controller(const fs::path& device, PciDevice pci) {
    ControllerEvidence controller{std::move(pci), LinkName(device / "driver"), DrmNodes(device)};
    if (controller.driver == "virtio-pci") {
        for (const std::string& name : FolderNames(device)) {
            if (name.starts_with("virtio")) {
                controller.driver = LinkName(device / name / "driver");
                controller.nodes = DrmNodes(device / name);
            }
        }
    }
    return controller;
}

void ReadPci(const fs::path& sys, MachineEvidence& evidence) {
    const fs::path devices = sys / "bus/pci/devices";
    std::error_code error;
    evidence.sysfsReadable = fs::is_directory(sys / "bus", error);
    for (const std::string& address : FolderNames(devices)) {
        const fs::path device = devices / address;
        PciDevice pci{address, static_cast<uint16_t>(Number(device / "vendor")),
                      static_cast<uint16_t>(Number(device / "device"))};
        evidence.pciDevices.push_back(pci);
        if ((Number(device / "class") >> 16) == kDisplayClass) {
            evidence.controllers.push_back(Controller(device, std::move(pci)));
        }
    }
    for (const std::string& name : FolderNames(sys / "class/drm")) {
        if (name.starts_with("card") && name.find('-') == std::string::npos) {
            evidence.drmDevices.push_back(name);
        }
    }
}

// nomodeset, or a graphics driver's own modeset=0; the words after "--" are init's.
void ReadCommandLine(const fs::path& root, MachineEvidence& evidence) {
    std::ifstream in(root / "proc/cmdline");
    for (std::string word; in >> word && word != "--";) {
        for (const char* driver : {"i915", "xe", "amdgpu", "radeon", "nouveau"}) {
            if (word == std::string(driver) + ".modeset=0") {
                evidence.modesetParameters.push_back(word);
            }
        }
        if (word == "nomodeset") {
            evidence.modesetParameters.push_back(word);
        }
    }
}

// "NVRM version: NVIDIA UNIX x86_64 Kernel Module  535.154.05  Thu Dec 28 ..." (the open
// modules say "Open Kernel Module"), else the module's own version file.
std::string NvidiaModuleVersion(const fs::path& root) {
    std::istringstream words(FirstLine(root / "proc/driver/nvidia/version").value_or(""));
    for (std::string previous, word; words >> word; previous = word) {
        if (previous == "Module") {
            return word;
        }
    }
    return FirstLine(root / "sys/module/nvidia/version").value_or("");
}

std::optional<bool> SecureBoot(const fs::path& root) {
    std::ifstream in(root / kSecureBootVariable, std::ios::binary);
    char bytes[kEfiAttributesSize + 1];
    if (!in.read(bytes, sizeof bytes)) {
        return std::nullopt;
    }
    return bytes[kEfiAttributesSize] == 1;
}

}  // namespace

void ReadKernelEvidence(const fs::path& root, MachineEvidence& evidence) {
    ReadPci(root / "sys", evidence);
    ReadCommandLine(root, evidence);
    std::error_code error;
    evidence.nvidia.moduleLoaded = fs::is_directory(root / "sys/module/nvidia", error);
    if (evidence.nvidia.moduleLoaded) {
        evidence.nvidia.moduleVersion = NvidiaModuleVersion(root);
    }
    evidence.secureBoot = SecureBoot(root);
}
