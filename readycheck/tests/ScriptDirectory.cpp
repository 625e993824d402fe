#include "ScriptDirectory.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

ScriptDirectory::ScriptDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "readycheck-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp");
    }
    mPath = pattern;
}

ScriptDirectory::~ScriptDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

std::string ScriptDirectory::script(const std::string& name, const std::string& body) const {
    const std::string file = mPath + "/" + name;
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    chmod(file.c_str(), 0755);
    return file;
}
