// The machine itself: a virtual machine whose adapter has no 3D, or no graphics device at all.
#include <algorithm>

#include "CauseRules.h"

namespace {

void AddVirtualMachine(const CauseScope& scope, std::vector<Cause>& causes) {
    const auto& controllers = scope.controllers;
    if (controllers.empty() ||
        !std::all_of(controllers.begin(), controllers.end(),
                     [](const auto* controller) { return IsVirtualDevice(controller->pci); })) {
        return;
    }
    const ControllerEvidence& adapter = *controllers.front();
    // The adapter itself shows the virtual machine; DMI's names add which one.
    Evidence shown = HypervisorDmi(scope.evidence);
    const Evidence facts = ControllerFacts(adapter);
    shown.insert(shown.end(), facts.begin(), facts.end());
    causes.push_back({CauseId::VirtualMachineWithout3D,
                      shown,
                      {"CauseVirtualMachineWithout3D",
                       {PciIdText(adapter.pci), adapter.driver.empty() ? "none" : adapter.driver}},
                      {"AdviceVirtualMachine3D", {}}});
}

void AddNoDevice(const CauseScope& scope, std::vector<Cause>& causes) {
    const MachineEvidence& evidence = scope.evidence;
    if (!scope.wholeMachine || !evidence.sysfsReadable || !evidence.controllers.empty() ||
        !evidence.drmDevices.empty()) {
        return;
    }
    Evidence shown{{"display_controllers", "none"}, {"drm_devices", "none"}};
    const Evidence machine = VirtualMachineFacts(evidence);
    shown.insert(shown.end(), machine.begin(), machine.end());
    causes.push_back(
        {CauseId::NoGraphicsDevice,
         shown,
         {"CauseNoGraphicsDevice", {}},
         {machine.empty() ? "AdviceNoGraphicsDevice" : "AdviceVirtualMachineAdapter", {}}});
}

}  // namespace

void AddMachineCauses(const CauseScope& scope, std::vector<Cause>& causes) {
    if (!scope.software) {
        return;
    }
    AddVirtualMachine(scope, causes);
    AddNoDevice(scope, causes);
}
