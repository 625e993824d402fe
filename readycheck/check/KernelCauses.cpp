// The kernel's side: drivers kept from loading, controllers no driver took, drivers without 3D.
#include <algorithm>
#include <map>

#include "CauseRules.h"
#include "MesaDrivers.h"

namespace {

// The parameters that keep the controller's driver from loading: nomodeset, or its vendor's
// drivers' own "modeset=0". NVIDIA's own driver loads despite them: where it is installed, they
// only keep nouveau away, as its installers mean them to.
std::vector<std::string> KeepingDriverAway(const MachineEvidence& evidence,
                                           const ControllerEvidence& controller) {
    static const std::map<std::string, uint16_t> kVendors{{"i915", 0x8086},
                                                          {"xe", 0x8086},
                                                          {"amdgpu", 0x1002},
                                                          {"radeon", 0x1002},
                                                          {"nouveau", kNvidiaVendor}};
    std::vector<std::string> parameters;
    if (!controller.driver.empty() ||
        (controller.pci.vendor == kNvidiaVendor && !evidence.nvidia.glxLibrary.empty())) {
        return parameters;
    }
    for (const std::string& parameter : evidence.modesetParameters) {
        const auto vendor = kVendors.find(parameter.substr(0, parameter.find('.')));
        if (parameter == "nomodeset" ||
            (vendor != kVendors.end() && controller.pci.vendor == vendor->second)) {
            parameters.push_back(parameter);
        }
    }
    return parameters;
}

// NVIDIA's driver is installed but its module did not load while Secure Boot is on: the firmware
// refused a module not signed with a key it trusts.
bool SecureBootBlocks(const MachineEvidence& evidence, const ControllerEvidence& controller) {
    return controller.pci.vendor == kNvidiaVendor && controller.driver.empty() &&
           !evidence.nvidia.moduleLoaded && !evidence.nvidia.glxLibrary.empty() &&
           evidence.secureBoot == true;
}

Cause SecureBootCause(const MachineEvidence& evidence, const ControllerEvidence& controller) {
    Evidence shown = ControllerFacts(controller);
    shown.emplace_back("secure_boot", "enabled");
    shown.emplace_back("nvidia_library", evidence.nvidia.glxLibrary);
    return {CauseId::SecureBootBlocksModule,
            shown,
            {"CauseSecureBootBlocksModule", {controller.pci.address}},
            {"AdviceSecureBoot", {}}};
}

Cause NoDriverCause(const MachineEvidence& evidence, const ControllerEvidence& controller) {
    Evidence shown = ControllerFacts(controller);
    Wording advice{FamilyKey("AdviceFirmware", evidence.family), {}};
    if (controller.pci.vendor == kNvidiaVendor) {
        const bool installed = !evidence.nvidia.glxLibrary.empty();
        shown.emplace_back("nvidia_library", installed ? evidence.nvidia.glxLibrary : "none");
        advice = installed ? Wording{"AdviceNvidiaModule", {}}
                           : Wording{FamilyKey("AdviceInstallNvidia", evidence.family), {}};
    }
    return {CauseId::NoKernelDriver,
            shown,
            {"CauseNoKernelDriver", {controller.pci.address, PciIdText(controller.pci)}},
            advice};
}

}  // namespace

void AddKernelCauses(const CauseScope& scope, std::vector<Cause>& causes) {
    if (!scope.software) {
        return;
    }
    const MachineEvidence& evidence = scope.evidence;
    std::vector<std::string> parameters;
    for (const ControllerEvidence* controller : scope.controllers) {
        for (const std::string& parameter : KeepingDriverAway(evidence, *controller)) {
            if (std::find(parameters.begin(), parameters.end(), parameter) == parameters.end()) {
                parameters.push_back(parameter);
            }
        }
    }
    if (!parameters.empty()) {
        const std::string named = Joined(parameters, " ");
        causes.push_back({CauseId::Nomodeset,
                          {{"kernel_parameters", named}},
                          {"CauseNomodeset", {named}},
                          {FamilyKey("AdviceKernelParameter", evidence.family), {named}}});
    }
    for (const ControllerEvidence* controller : scope.controllers) {
        if (SecureBootBlocks(evidence, *controller)) {
            causes.push_back(SecureBootCause(evidence, *controller));
        }
    }
    // Virtual adapters are the virtual machine's cause; a driver kept from loading, nomodeset's.
    for (const ControllerEvidence* controller : scope.controllers) {
        if (controller->driver.empty() && !IsVirtualDevice(controller->pci) &&
            KeepingDriverAway(evidence, *controller).empty() &&
            !SecureBootBlocks(evidence, *controller)) {
            causes.push_back(NoDriverCause(evidence, *controller));
        }
    }
    for (const ControllerEvidence* controller : scope.controllers) {
        if (IsBasicDisplayDriver(controller->driver) && !IsVirtualDevice(controller->pci)) {
            causes.push_back(
                {CauseId::BasicDisplayDriver,
                 ControllerFacts(*controller),
                 {"CauseBasicDisplayDriver", {controller->pci.address, controller->driver}},
                 {"AdviceBasicDriver", {}}});
        }
    }
}
