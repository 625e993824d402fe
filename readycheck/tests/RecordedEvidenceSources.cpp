#include <filesystem>
#include <fstream>
#include <sstream>

#include "RecordedEvidenceSources.h"

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

std::optional<XServerOffer> RecordedXServer(const fs::path& answers) {
    std::optional<XServerOffer> offer;
    std::ifstream in(answers);
    for (std::string who, what, value; in >> who >> what >> value;) {
        if (who != "x-server") {
            continue;
        }
        offer = offer.value_or(XServerOffer());
        if (what == "dri3") {
            offer->dri3 = value == "1";
        } else if (what == "dri2") {
            offer->dri2 = value == "1";
        } else if (what == "nv-glx") {
            offer->nvidiaGlx = value == "1";
        }
    }
    return offer;
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
                            RecordedXServer(folder / "answers"),
                            {}};
    std::ifstream manifest(folder / "dev-dri");
    if (manifest) {
        std::ostringstream text;
        text << manifest.rdbuf();
        sources.driNodes = DriNodesFromManifest(text.str());
    }
    return sources;
}
