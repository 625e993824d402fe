// A temporary directory of small shell scripts for tests, removed with the object.
#pragma once

#include <string>

class ScriptDirectory {
public:
    ScriptDirectory();
    ~ScriptDirectory();
    ScriptDirectory(const ScriptDirectory&) = delete;
    ScriptDirectory& operator=(const ScriptDirectory&) = delete;

    // Writes an executable "#!/bin/sh" script with the body and returns its path.
    std::string script(const std::string& name, const std::string& body) const;
    const std::string& path() const { return mPath; }

private:
    std::string mPath;
};
