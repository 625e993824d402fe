// The user-space drivers: NVIDIA's library against its kernel module, Mesa's DRI drivers.
#include <algorithm>

#include "CauseRules.h"
#include "MesaDrivers.h"

namespace {

constexpr const char* kNvidiaGlx = "libGLX_nvidia.so.0";
constexpr const char* kNvidiaEglVendor = "10_nvidia.json";

bool NvidiaBound(const CauseScope& scope) {
    return std::any_of(scope.controllers.begin(), scope.controllers.end(),
                       [](const auto* controller) { return controller->driver == "nvidia"; });
}

void AddNvidiaMismatch(const CauseScope& scope, std::vector<Cause>& causes) {
    const NvidiaEvidence& nvidia = scope.evidence.nvidia;
    if (!NvidiaBound(scope) || nvidia.moduleVersion.empty() || nvidia.libraryVersion.empty() ||
        nvidia.moduleVersion == nvidia.libraryVersion) {
        return;
    }
    causes.push_back({CauseId::NvidiaVersionMismatch,
                      {{"kernel_module_version", nvidia.moduleVersion},
                       {"library_version", nvidia.libraryVersion},
                       {"nvidia_library", nvidia.glxLibrary}},
                      {"CauseNvidiaVersionMismatch", {nvidia.moduleVersion, nvidia.libraryVersion}},
                      {"AdviceNvidiaMismatch", {}}});
}

// GLX needs NVIDIA's GLX vendor library; EGL (Wayland, no display) its EGL vendor file.
void AddNvidiaMissing(const CauseScope& scope, std::vector<Cause>& causes) {
    const MachineEvidence& evidence = scope.evidence;
    if (!NvidiaBound(scope)) {
        return;
    }
    Evidence shown{{"kernel_driver", "nvidia"}};
    if (!evidence.nvidia.moduleVersion.empty()) {
        shown.emplace_back("kernel_module_version", evidence.nvidia.moduleVersion);
    }
    std::string missing;
    if (evidence.nvidia.glxLibrary.empty()) {
        missing = kNvidiaGlx;
        shown.emplace_back("missing", missing);
        shown.emplace_back("library_folders", evidence.libraryFolders.empty()
                                                  ? "none"
                                                  : Joined(evidence.libraryFolders));
    } else if (!evidence.xServer &&
               std::none_of(evidence.eglVendorFiles.begin(), evidence.eglVendorFiles.end(),
                            [](const std::string& name) {
                                return name.find("nvidia") != std::string::npos;
                            })) {
        missing = kNvidiaEglVendor;
        shown.emplace_back("missing", missing);
        shown.emplace_back("egl_vendor_files", evidence.eglVendorFiles.empty()
                                                   ? "none"
                                                   : Joined(evidence.eglVendorFiles));
    }
    if (!missing.empty()) {
        causes.push_back({CauseId::NvidiaLibraryMissing,
                          shown,
                          {"CauseNvidiaLibraryMissing", {missing}},
                          {FamilyKey("AdviceInstallNvidia", evidence.family), {}}});
    }
}

void AddMesaMissing(const CauseScope& scope, std::vector<Cause>& causes) {
    const MachineEvidence& evidence = scope.evidence;
    for (const ControllerEvidence* controller : scope.controllers) {
        const std::vector<std::string> files = DriDriverFiles(controller->driver);
        if (files.empty() || std::any_of(files.begin(), files.end(), [&](const std::string& file) {
                return std::find(evidence.driDrivers.begin(), evidence.driDrivers.end(), file) !=
                       evidence.driDrivers.end();
            })) {
            continue;
        }
        Evidence shown = ControllerFacts(*controller);
        shown.emplace_back("dri_drivers", Joined(files));
        shown.emplace_back("dri_folders",
                           evidence.driFolders.empty() ? "none" : Joined(evidence.driFolders));
        // Installing a package does not help where the variable sends Mesa elsewhere.
        Wording advice{FamilyKey("AdviceInstallMesa", evidence.family), {}};
        if (evidence.driversPath && !evidence.driversPath->empty()) {
            shown.emplace_back("LIBGL_DRIVERS_PATH", *evidence.driversPath);
            advice = {"AdviceDriversPath", {*evidence.driversPath}};
        }
        causes.push_back({CauseId::MesaDriverMissing,
                          shown,
                          {"CauseMesaDriverMissing", {controller->driver, Joined(files)}},
                          advice});
    }
}

}  // namespace

void AddDriverCauses(const CauseScope& scope, std::vector<Cause>& causes) {
    if (!scope.software) {
        return;
    }
    AddNvidiaMismatch(scope, causes);
    AddNvidiaMissing(scope, causes);
    AddMesaMissing(scope, causes);
}
