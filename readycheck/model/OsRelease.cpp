#include "OsRelease.h"

#include <map>
#include <sstream>
#include <string_view>

namespace {

std::string Unquote(std::string_view value) {
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') ||
        value.back() != value.front()) {
        return std::string(value);
    }
    const bool single = value.front() == '\'';
    value = value.substr(1, value.size() - 2);
    if (single) {
        return std::string(value);
    }
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            ++i;
        }
        text += value[i];
    }
    return text;
}

}  // namespace

std::map<std::string, std::string> OsReleaseFields(const std::string& text) {
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string::npos) {
            continue;
        }
        values[line.substr(0, equals)] = Unquote(std::string_view(line).substr(equals + 1));
    }
    return values;
}

std::string DistributionFromOsRelease(const std::string& text) {
    std::map<std::string, std::string> values = OsReleaseFields(text);
    const std::string& name = values["NAME"];
    if (name.empty()) {
        return values["PRETTY_NAME"];
    }
    const std::string& version =
        values["VERSION"].empty() ? values["VERSION_ID"] : values["VERSION"];
    return version.empty() ? name : name + " " + version;
}
