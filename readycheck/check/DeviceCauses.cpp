// The device nodes in /dev/dri: missing, or closed to this user.
#include <algorithm>

#include "CauseRules.h"

namespace {

std::string NodePath(const std::string& name) {
    return "/dev/dri/" + name;
}

std::vector<std::string> MissingNodes(const DriNodes& dri, const ControllerEvidence& controller) {
    std::vector<std::string> missing;
    for (const std::string& name : controller.nodes) {
        if (dri.find(name) == nullptr) {
            missing.push_back(NodePath(name));
        }
    }
    return missing;
}

// A container started without the nodes, else a system whose device manager made none.
Cause MissingCause(const MachineEvidence& evidence, const ControllerEvidence& controller,
                   const std::vector<std::string>& missing) {
    const std::string nodes = Joined(missing);
    if (evidence.container.empty()) {
        return {CauseId::NoDeviceNodes,
                {{"controller", controller.pci.address}, {"missing_nodes", nodes}},
                {"CauseNoDeviceNodes", {nodes}},
                {"AdviceDeviceNodes", {}}};
    }
    Evidence shown{{"container", evidence.container}};
    Wording advice{"AdviceContainerDevice", {}};
    if (!evidence.flatpakApp.empty()) {
        shown.emplace_back("flatpak_app", evidence.flatpakApp);
        advice = {"AdviceFlatpakDevice", {evidence.flatpakApp}};
    }
    shown.emplace_back("controller", controller.pci.address);
    shown.emplace_back("missing_nodes", nodes);
    return {CauseId::ContainerWithoutDevice,
            shown,
            {"CauseContainerWithoutDevice", {evidence.container, nodes}},
            advice};
}

// The node OpenGL opens: the render node, else (a driver without one) the primary node.
std::vector<std::string> OpenedNodes(const ControllerEvidence& controller) {
    std::vector<std::string> render, primary;
    for (const std::string& name : controller.nodes) {
        (name.starts_with("renderD") ? render : primary).push_back(name);
    }
    return render.empty() ? primary : render;
}

// The controllers' nodes; for the whole machine also render nodes no controller claims.
std::vector<std::string> NodesInQuestion(const CauseScope& scope) {
    std::vector<std::string> names;
    for (const ControllerEvidence* controller : scope.controllers) {
        const std::vector<std::string> opened = OpenedNodes(*controller);
        names.insert(names.end(), opened.begin(), opened.end());
    }
    if (scope.wholeMachine) {
        for (const DeviceNode& node : scope.evidence.driNodes.nodes) {
            if (node.name.starts_with("renderD") &&
                std::find(names.begin(), names.end(), node.name) == names.end()) {
                names.push_back(node.name);
            }
        }
    }
    return names;
}

Cause NotPermittedCause(const DeviceNode& node) {
    const std::string path = NodePath(node.name);
    // Joining root, or a group with no name here, is no advice.
    const bool joinable =
        node.group != "root" && node.group.find_first_not_of("0123456789") != std::string::npos;
    return {CauseId::DeviceNotPermitted,
            {{"node", path}, {"mode", ModeText(node.mode)}, {"group", node.group}},
            {"CauseDeviceNotPermitted", {path, ModeText(node.mode), node.group}},
            joinable ? Wording{"AdviceJoinGroup", {node.group, node.group}}
                     : Wording{"AdviceNodePermissions", {path}}};
}

}  // namespace

void AddDeviceCauses(const CauseScope& scope, std::vector<Cause>& causes) {
    if (!scope.software) {
        return;
    }
    const MachineEvidence& evidence = scope.evidence;
    for (const ControllerEvidence* controller : scope.controllers) {
        const std::vector<std::string> missing = MissingNodes(evidence.driNodes, *controller);
        if (!missing.empty()) {
            causes.push_back(MissingCause(evidence, *controller, missing));
        }
    }
    // Through DRI3 the X server opens the node and hands it over: this user's rights do not count.
    if (evidence.xServer && evidence.xServer->dri3) {
        return;
    }
    for (const std::string& name : NodesInQuestion(scope)) {
        const DeviceNode* node = evidence.driNodes.find(name);
        if (node != nullptr && !node->permitted) {
            causes.push_back(NotPermittedCause(*node));
        }
    }
}
