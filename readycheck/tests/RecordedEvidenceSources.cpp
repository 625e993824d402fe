#include "RecordedEvidenceSources.h"

#include <filesystem>
#include <fstream>

#include "FileText.h"
#include "RecordedMachine.h"

namespace fs = std::filesystem;

namespace {

Environment RecordedEnvironment(const fs::path& file) {
    Environment environment;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const std::size_t equals = line.find('=');
        if (!line.starts_with('#') && equals != std::string::npos && equals > 0) {
            environment[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return environment;
}

std::optional<XServerOffer> RecordedXServer(const fs::path& machine) {
    const auto answer = [&](const char* question) {
        return RecordedAnswer(machine, "x-server", question);
    };
    const auto dri3 = answer("dri3");
    const auto dri2 = answer("dri2");
    const auto nvidiaGlx = answer("nv-glx");
    if (!dri3 && !dri2 && !nvidiaGlx) {
        return std::nullopt;
    }
    return XServerOffer{dri3 == "1", dri2 == "1", nvidiaGlx == "1"};
}

// The machine's own multiarch folder, whatever this build's architecture: "x86_64-linux-gnu".
std::string RecordedMultiarch(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder / "usr/lib", error)) {
        std::string name = entry.path().filename();
        if (entry.is_directory() && name.find("-linux-") != std::string::npos) {
            return name;
        }
    }
    return {};
}

}  // namespace

EvidenceSources RecordedEvidenceSources(const std::string& machine) {
    const fs::path folder(machine);
    EvidenceSources sources{machine,
                            RecordedMultiarch(folder),
                            RecordedEnvironment(folder / "environment"),
                            RecordedXServer(folder),
                            {}};
    if (fs::exists(folder / "dev-dri")) {
        sources.driNodes = DriNodesFromManifest(FileText(folder / "dev-dri"));
    }
    return sources;
}
