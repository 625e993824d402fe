#include <algorithm>
#include <sstream>

#include "EvidenceReaders.h"
#include "MesaDrivers.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kNvidiaGlx = "libGLX_nvidia.so.0";
constexpr const char* kNvidiaGlxVersioned = "libGLX_nvidia.so.";

std::vector<std::string> PathList(const std::string& value) {
    std::vector<std::string> folders;
    std::istringstream parts(value);
    for (std::string folder; std::getline(parts, folder, ':');) {
        if (!folder.empty()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

void AddOnce(std::vector<std::string>& list, const std::string& item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(item);
    }
}

fs::path Under(const fs::path& root, const std::string& path) {
    return root / fs::path(path).relative_path();
}

// The 64-bit library folders there are, as the distributions lay them out: Debian's multiarch
// folder, Fedora's and openSUSE's lib64, else lib (Arch). A lib beside lib64 holds 32-bit ones.
std::vector<std::string> LibraryFolders(const fs::path& root, const std::string& multiarch) {
    std::vector<std::string> folders;
    std::error_code error;
    if (!multiarch.empty() && fs::is_directory(root / "usr/lib" / multiarch, error)) {
        folders.push_back("/usr/lib/" + multiarch);
    }
    if (fs::is_directory(root / "usr/lib64", error)) {
        folders.emplace_back("/usr/lib64");
    } else if (fs::is_directory(root / "usr/lib", error)) {
        folders.emplace_back("/usr/lib");
    }
    return folders;
}

void ReadDriDrivers(const fs::path& root, const Environment& environment,
                    MachineEvidence& evidence) {
    // Mesa looks only where LIBGL_DRIVERS_PATH says, where it is set.
    const auto driversPath = environment.find("LIBGL_DRIVERS_PATH");
    if (driversPath != environment.end() && !driversPath->second.empty()) {
        evidence.driFolders = PathList(driversPath->second);
    } else {
        for (const std::string& folder : evidence.libraryFolders) {
            std::error_code error;
            if (fs::is_directory(Under(root, folder + "/dri"), error)) {
                AddOnce(evidence.driFolders, folder + "/dri");
            }
        }
    }
    for (const ControllerEvidence& controller : evidence.controllers) {
        for (const std::string& file : DriDriverFiles(controller.driver)) {
            for (const std::string& folder : evidence.driFolders) {
                std::error_code error;
                if (fs::exists(Under(root, folder) / file, error)) {
                    AddOnce(evidence.driDrivers, file);
                }
            }
        }
    }
}

// The version is the one the library's own file name carries: libGLX_nvidia.so.0 links to
// libGLX_nvidia.so.535.154.05.
void ReadNvidiaLibrary(const fs::path& root, MachineEvidence& evidence) {
    for (const std::string& folder : evidence.libraryFolders) {
        const std::string path = folder + "/" + kNvidiaGlx;
        std::error_code error;
        if (fs::exists(Under(root, path), error)) {
            evidence.nvidia.glxLibrary = path;
            const std::string target = LinkName(Under(root, path));
            if (target.starts_with(kNvidiaGlxVersioned) && target != kNvidiaGlx) {
                evidence.nvidia.libraryVersion =
                    target.substr(std::string(kNvidiaGlxVersioned).size());
            }
            return;
        }
    }
}

void ReadEglVendorFiles(const fs::path& root, const Environment& environment,
                        MachineEvidence& evidence) {
    const auto dirs = environment.find("__EGL_VENDOR_LIBRARY_DIRS");
    const std::vector<std::string> folders =
        dirs != environment.end()
            ? PathList(dirs->second)
            : std::vector<std::string>{"/etc/glvnd/egl_vendor.d", "/usr/share/glvnd/egl_vendor.d"};
    for (const std::string& folder : folders) {
        for (const std::string& name : FolderNames(Under(root, folder))) {
            if (name.ends_with(".json")) {
                AddOnce(evidence.eglVendorFiles, name);
            }
        }
    }
    std::sort(evidence.eglVendorFiles.begin(), evidence.eglVendorFiles.end());
}

}  // namespace

void ReadDriverFileEvidence(const EvidenceSources& sources, MachineEvidence& evidence) {
    const fs::path root(sources.root);
    evidence.libraryFolders = LibraryFolders(root, sources.multiarch);
    ReadDriDrivers(root, sources.environment, evidence);
    ReadNvidiaLibrary(root, evidence);
    ReadEglVendorFiles(root, sources.environment, evidence);
}
