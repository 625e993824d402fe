// The rules that decide causes, one family of causes a file, and what they share. Each rule adds
// its causes in the order of CauseId; the rules run in that order too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Cause.h"
#include "MachineEvidence.h"

using Evidence = std::vector<std::pair<std::string, std::string>>;

inline constexpr uint16_t kNvidiaVendor = 0x10de;

// What a rule looks at: the evidence, the controllers in question, and what is not ready.
struct CauseScope {
    const MachineEvidence& evidence;
    std::vector<const ControllerEvidence*> controllers;
    bool software = false;     // nothing drew in hardware
    bool checkFailed = false;  // a check failed
    bool wholeMachine = true;  // the main card's causes, not narrowed to another card's controller
};

void AddEnvironmentCauses(const CauseScope& scope, std::vector<Cause>& causes);
void AddDisplayCauses(const CauseScope& scope, std::vector<Cause>& causes);
void AddKernelCauses(const CauseScope& scope, std::vector<Cause>& causes);
void AddDriverCauses(const CauseScope& scope, std::vector<Cause>& causes);
void AddDeviceCauses(const CauseScope& scope, std::vector<Cause>& causes);
void AddMachineCauses(const CauseScope& scope, std::vector<Cause>& causes);

// "10de:2786".
std::string PciIdText(const PciDevice& device);
// The items with separator between them.
std::string Joined(const std::vector<std::string>& items, const std::string& separator = ", ");
// The controller's evidence: its address, PCI id and kernel driver ("none" when unbound).
Evidence ControllerFacts(const ControllerEvidence& controller);
// A key whose text names commands of the distribution's family: "AdviceInstallMesa_fedora";
// the key itself, in general words, for an unknown family.
std::string FamilyKey(const std::string& key, DistributionFamily family);
// An emulated or paravirtual adapter of a hypervisor (virtio, VMware, QEMU, Bochs, VirtualBox,
// Hyper-V), which no graphics driver for real hardware drives.
bool IsVirtualDevice(const PciDevice& device);
// DMI's vendor and product where they name a hypervisor; empty otherwise.
Evidence HypervisorDmi(const MachineEvidence& evidence);
// What shows that this is a virtual machine: DMI's vendor and product where they name a
// hypervisor, else the first virtual PCI device, else the processor's hypervisor flag (a virtual
// machine without DMI or PCI); empty on real hardware.
Evidence VirtualMachineFacts(const MachineEvidence& evidence);
