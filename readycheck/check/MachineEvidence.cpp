#include "MachineEvidence.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "EvidenceReaders.h"

namespace fs = std::filesystem;

namespace {

std::optional<std::string> Variable(const Environment& environment, const std::string& name) {
    const auto found = environment.find(name);
    return found == environment.end() ? std::nullopt : std::optional(found->second);
}

void ReadSession(const EvidenceSources& sources, MachineEvidence& evidence) {
    for (const std::string& name : DriverVariableNames()) {
        if (const auto value = Variable(sources.environment, name)) {
            evidence.driverVariables.emplace_back(name, *value);
        }
    }
    evidence.display = Variable(sources.environment, "DISPLAY");
    evidence.sshConnection = Variable(sources.environment, "SSH_CONNECTION");
    evidence.driversPath = Variable(sources.environment, "LIBGL_DRIVERS_PATH");
    evidence.xServer = sources.xServer;
    evidence.driNodes = sources.driNodes;
}

// A Flatpak sandbox says so in /.flatpak-info ("[Application]" then "name=org.example.App"),
// Podman in /run/.containerenv, Docker in /.dockerenv.
void ReadContainer(const fs::path& root, MachineEvidence& evidence) {
    std::error_code error;
    if (fs::exists(root / ".flatpak-info", error)) {
        evidence.container = "flatpak";
        std::ifstream in(root / ".flatpak-info");
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("name=") && evidence.flatpakApp.empty()) {
                evidence.flatpakApp = line.substr(5);
            }
        }
    } else if (fs::exists(root / "run/.containerenv", error)) {
        evidence.container = "podman";
    } else if (fs::exists(root / ".dockerenv", error)) {
        evidence.container = "docker";
    }
}

std::string FileText(const fs::path& file) {
    std::ostringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
}

// x86 processors under a hypervisor list "hypervisor" among their flags; the first processor's
// line says it for all.
bool HypervisorFlag(const fs::path& cpuinfo) {
    std::ifstream in(cpuinfo);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("flags")) {
            std::istringstream flags(line.substr(line.find(':') + 1));
            return std::find(std::istream_iterator<std::string>(flags),
                             std::istream_iterator<std::string>(),
                             "hypervisor") != std::istream_iterator<std::string>();
        }
    }
    return false;
}

void ReadIdentity(const fs::path& root, MachineEvidence& evidence) {
    evidence.dmiVendor = FirstLine(root / "sys/class/dmi/id/sys_vendor").value_or("");
    evidence.dmiProduct = FirstLine(root / "sys/class/dmi/id/product_name").value_or("");
    evidence.hypervisorFlag = HypervisorFlag(root / "proc/cpuinfo");
    ReadContainer(root, evidence);
    std::error_code error;
    const fs::path osRelease = fs::exists(root / "etc/os-release", error)
                                   ? root / "etc/os-release"
                                   : root / "usr/lib/os-release";
    evidence.family = FamilyFromOsRelease(FileText(osRelease));
}

}  // namespace

const std::vector<std::string>& DriverVariableNames() {
    static const std::vector<std::string> kNames{
        "LIBGL_ALWAYS_SOFTWARE",       "GALLIUM_DRIVER",
        "MESA_LOADER_DRIVER_OVERRIDE", "LIBGL_ALWAYS_INDIRECT",
        "__GLX_VENDOR_LIBRARY_NAME",   "__EGL_VENDOR_LIBRARY_FILENAMES",
        "MESA_GL_VERSION_OVERRIDE",    "MESA_EXTENSION_OVERRIDE"};
    return kNames;
}

MachineEvidence ReadMachineEvidence(const EvidenceSources& sources) {
    const fs::path root(sources.root);
    MachineEvidence evidence;
    ReadSession(sources, evidence);
    ReadKernelEvidence(root, evidence);
    ReadDriverFileEvidence(sources, evidence);
    ReadIdentity(root, evidence);
    return evidence;
}
