#include <algorithm>
#include <fstream>

#include "EvidenceReaders.h"

namespace fs = std::filesystem;

std::optional<std::string> FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    const char* const kSpace = " \t\r\n";
    const std::size_t first = line.find_first_not_of(kSpace);
    if (first == std::string::npos) {
        return std::string();
    }
    return line.substr(first, line.find_last_not_of(kSpace) - first + 1);
}

std::string LinkName(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    return error ? std::string() : target.filename().string();
}

std::vector<std::string> FolderNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
