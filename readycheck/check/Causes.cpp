#include "Causes.h"

#include <algorithm>

#include "CauseRules.h"

namespace {

bool AnyCheckFailed(const Assessment& checks) {
    return !(checks.offscreen && checks.shadows && checks.lighting && checks.antiAliasing);
}

std::vector<Cause> Decide(const CauseScope& scope) {
    std::vector<Cause> causes;
    if (!scope.software && !scope.checkFailed) {
        return causes;
    }
    AddEnvironmentCauses(scope, causes);
    AddDisplayCauses(scope, causes);
    AddKernelCauses(scope, causes);
    AddDriverCauses(scope, causes);
    AddDeviceCauses(scope, causes);
    AddMachineCauses(scope, causes);
    return causes;
}

// The controller that an offload environment selects: DRI_PRIME's "pci-0000_01_00_0" or
// "10de:25a2", NVIDIA's own offload its card; empty where it selects none of them.
std::vector<const ControllerEvidence*> SelectedControllers(const OtherCard& card,
                                                           const MachineEvidence& evidence) {
    std::vector<const ControllerEvidence*> selected;
    for (const auto& [name, value] : card.environment) {
        for (const ControllerEvidence& controller : evidence.controllers) {
            std::string address = "pci-" + controller.pci.address;
            std::replace(address.begin(), address.end(), ':', '_');
            std::replace(address.begin(), address.end(), '.', '_');
            const bool chosen =
                name == "DRI_PRIME" ? value == address || value == PciIdText(controller.pci)
                : name == "__NV_PRIME_RENDER_OFFLOAD" ? controller.pci.vendor == kNvidiaVendor
                                                      : false;
            if (chosen &&
                std::find(selected.begin(), selected.end(), &controller) == selected.end()) {
                selected.push_back(&controller);
            }
        }
    }
    return selected;
}

}  // namespace

bool IsReady(const CardFacts& facts) {
    return facts.rendering != Rendering::Software && !AnyCheckFailed(facts.assessment);
}

std::vector<Cause> DecideCauses(const CardFacts& facts, const MachineEvidence& evidence) {
    CauseScope scope{.evidence = evidence,
                     .controllers = {},
                     .software = facts.rendering == Rendering::Software,
                     .checkFailed = AnyCheckFailed(facts.assessment),
                     .wholeMachine = true};
    for (const ControllerEvidence& controller : evidence.controllers) {
        scope.controllers.push_back(&controller);
    }
    return Decide(scope);
}

std::vector<Cause> DecideOtherCardCauses(const OtherCard& card, const MachineEvidence& evidence) {
    if (card.status != CardStatus::NotReachable) {
        return {};
    }
    // Whatever its probe drew, the card itself drew nothing.
    CauseScope scope{.evidence = evidence,
                     .controllers = SelectedControllers(card, evidence),
                     .software = true,
                     .checkFailed = false,
                     .wholeMachine = false};
    if (scope.controllers.empty()) {
        for (const ControllerEvidence& controller : evidence.controllers) {
            scope.controllers.push_back(&controller);
        }
    }
    return Decide(scope);
}
