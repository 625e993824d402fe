#include "DeviceNodes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// gid -> name from a group file: "render:x:993:".
std::map<unsigned, std::string> GroupNames(const fs::path& file) {
    std::map<unsigned, std::string> names;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string name, password, gid;
        if (std::getline(fields, name, ':') && std::getline(fields, password, ':') &&
            std::getline(fields, gid, ':') && !gid.empty() &&
            gid.find_first_not_of("0123456789") == std::string::npos) {
            names.emplace(static_cast<unsigned>(std::stoul(gid)), name);
        }
    }
    return names;
}

void SortByName(std::vector<DeviceNode>& nodes) {
    std::sort(nodes.begin(), nodes.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
}

}  // namespace

const DeviceNode* DriNodes::find(const std::string& name) const {
    const auto found = std::find_if(nodes.begin(), nodes.end(),
                                    [&](const auto& node) { return node.name == name; });
    return found == nodes.end() ? nullptr : &*found;
}

DriNodes InspectDriNodes(const std::string& root) {
    DriNodes dri;
    const fs::path folder = fs::path(root) / "dev/dri";
    std::error_code error;
    dri.folderExists = fs::is_directory(folder, error);
    const std::map<unsigned, std::string> groups = GroupNames(fs::path(root) / "etc/group");
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        struct stat status {};
        // by-path/ and other folders hold links to the nodes themselves.
        if (stat(entry.path().c_str(), &status) != 0 || S_ISDIR(status.st_mode)) {
            continue;
        }
        DeviceNode node;
        node.name = entry.path().filename().string();
        node.mode = status.st_mode & 07777;
        const auto group = groups.find(status.st_gid);
        node.group = group != groups.end() ? group->second : std::to_string(status.st_gid);
        node.permitted = access(entry.path().c_str(), R_OK | W_OK) == 0;
        dri.nodes.push_back(std::move(node));
    }
    SortByName(dri.nodes);
    return dri;
}

DriNodes DriNodesFromManifest(const std::string& text) {
    DriNodes dri;
    dri.folderExists = true;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        DeviceNode node;
        std::string mode, permitted;
        if (!(fields >> node.name >> mode >> node.group >> permitted)) {
            continue;
        }
        const auto [end, error] =
            std::from_chars(mode.data(), mode.data() + mode.size(), node.mode, 8);
        if (error == std::errc() && end == mode.data() + mode.size()) {
            node.permitted = permitted == "yes";
            dri.nodes.push_back(std::move(node));
        }
    }
    SortByName(dri.nodes);
    return dri;
}

std::string ModeText(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777);
    return text;
}
