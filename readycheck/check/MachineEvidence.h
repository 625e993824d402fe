// What the machine shows of why graphics are not ready: read once, from one place, rooted at a
// directory ("/" for this machine, a recorded machine's folder in tests). Reading never blocks:
// files only, no child process, no network, no D-Bus.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DeviceNodes.h"
#include "DistributionFamily.h"
#include "XServerOffer.h"

// The same type as the child processes' environment (ChildProcess.h).
using Environment = std::map<std::string, std::string>;

struct PciDevice {
    std::string address;  // "0000:01:00.0"
    uint16_t vendor = 0;
    uint16_t device = 0;
    bool operator==(const PciDevice&) const = default;
};

// A PCI display controller and what the kernel made of it.
struct ControllerEvidence {
    PciDevice pci;
    std::string driver;              // the bound kernel driver ("amdgpu"); empty when none
    std::vector<std::string> nodes;  // its DRM nodes as sysfs names them: "card0", "renderD128"
    bool operator==(const ControllerEvidence&) const = default;
};

struct NvidiaEvidence {
    bool moduleLoaded = false;
    std::string moduleVersion;   // "535.154.05"; empty when the module does not say
    std::string glxLibrary;      // where libGLX_nvidia.so.0 is; empty when it is nowhere
    std::string libraryVersion;  // the version its name carries; empty when unknown
    bool operator==(const NvidiaEvidence&) const = default;
};

struct MachineEvidence {
    // The variables that change what the driver answers, those that are set, in a fixed order.
    std::vector<std::pair<std::string, std::string>> driverVariables;
    std::optional<std::string> display;        // DISPLAY
    std::optional<std::string> sshConnection;  // SSH_CONNECTION
    // The X server's offer, where the check drew on X; none otherwise.
    std::optional<XServerOffer> xServer;

    // The kernel command line's parameters that keep graphics drivers from loading.
    std::vector<std::string> modesetParameters;
    // sysfs is there, with or without a PCI bus: a virtual machine on virtio-mmio has none.
    bool sysfsReadable = false;
    std::vector<PciDevice> pciDevices;
    std::vector<ControllerEvidence> controllers;  // in address order
    std::vector<std::string> drmDevices;          // sysfs class/drm's cards: "card0"
    DriNodes driNodes;
    std::optional<bool> secureBoot;  // none without EFI variables
    NvidiaEvidence nvidia;

    // Mesa's DRI driver folders searched (those there are, or all that LIBGL_DRIVERS_PATH names)
    // and the driver files found there that some controller would use ("radeonsi_dri.so").
    std::optional<std::string> driversPath;  // LIBGL_DRIVERS_PATH, which replaces the folders
    std::vector<std::string> driFolders;
    std::vector<std::string> driDrivers;
    std::vector<std::string> libraryFolders;  // where glvnd's vendor libraries were looked for
    std::vector<std::string> eglVendorFiles;  // glvnd's EGL vendor files by name: "50_mesa.json"

    std::string dmiVendor;   // sys_vendor, trimmed
    std::string dmiProduct;  // product_name, trimmed
    std::string container;   // "flatpak", "podman", "docker"; empty outside a container
    std::string flatpakApp;  // the Flatpak application's id
    DistributionFamily family = DistributionFamily::Other;
    // The processor runs under a hypervisor: x86's "hypervisor" CPU flag.
    bool hypervisorFlag = false;
};

// Where the evidence comes from. The X server's offer and /dev/dri are given rather than read:
// the live machine asks its X server and stat()s its nodes, a recorded machine gives them from
// files.
struct EvidenceSources {
    std::string root = "/";
    // The multiarch name of the machine's library folders ("x86_64-linux-gnu" in /usr/lib/...);
    // empty on a distribution without them.
    std::string multiarch;
    Environment environment;
    std::optional<XServerOffer> xServer;
    DriNodes driNodes;
};

MachineEvidence ReadMachineEvidence(const EvidenceSources& sources);

// The variables that change what the driver answers, in the order the evidence lists them.
const std::vector<std::string>& DriverVariableNames();
