// The X display the check drew on: a remote one, or a virtual X server no GPU draws for.
#include <algorithm>

#include "CauseRules.h"
#include "MesaDrivers.h"

namespace {

// "localhost:10.0", "tcp/host:0" name a host; ":0", "unix:0", "unix/:0" and socket paths are
// this machine.
bool NamesHost(const std::string& display) {
    const std::size_t colon = display.rfind(':');
    if (display.starts_with('/') || colon == std::string::npos) {
        return false;
    }
    std::string host = display.substr(0, colon);
    if (const std::size_t slash = host.find('/'); slash != std::string::npos) {
        host = host.substr(slash + 1);
    }
    return !host.empty() && host != "unix";
}

// A GPU that Mesa or NVIDIA's driver draws for is there, or none at all: an X server that offers
// it no way to draw is a virtual one. Without this, an X server on a basic display driver, or
// kept from its GPU by nomodeset, would be taken for one.
bool GpuLeftUnused(const CauseScope& scope) {
    return (scope.wholeMachine && scope.evidence.controllers.empty()) ||
           std::any_of(scope.controllers.begin(), scope.controllers.end(),
                       [](const auto* controller) {
                           return !DriDriverFiles(controller->driver).empty() ||
                                  controller->driver == "nvidia";
                       });
}

}  // namespace

void AddDisplayCauses(const CauseScope& scope, std::vector<Cause>& causes) {
    const MachineEvidence& evidence = scope.evidence;
    if (!evidence.xServer) {
        return;
    }
    const std::string display = evidence.display.value_or("");
    Evidence shown;
    if (evidence.display) {
        shown.emplace_back("DISPLAY", display);
    }
    // An SSH session alone is no remote display: over SSH the machine's own X server (":0") is
    // drawn for by its GPU; SSH's forwarding names a host ("localhost:10.0").
    const bool remote = NamesHost(display);
    if (remote && (scope.software || scope.checkFailed)) {
        if (evidence.sshConnection) {
            shown.emplace_back("SSH_CONNECTION", *evidence.sshConnection);
        }
        causes.push_back({CauseId::RemoteDisplay,
                          shown,
                          {"CauseRemoteDisplay", {display}},
                          {"AdviceLocalSession", {}}});
    } else if (!remote && scope.software && !evidence.xServer->dri3 && !evidence.xServer->dri2 &&
               !evidence.xServer->nvidiaGlx && GpuLeftUnused(scope)) {
        shown.emplace_back("x_server_dri3", "no");
        shown.emplace_back("x_server_dri2", "no");
        shown.emplace_back("x_server_nv_glx", "no");
        causes.push_back({CauseId::VirtualDisplayServer,
                          shown,
                          {"CauseVirtualDisplayServer", {display}},
                          {"AdviceOwnDesktop", {}}});
    }
}
