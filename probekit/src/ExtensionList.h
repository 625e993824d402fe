// The driver's extension list, padded with blanks so that only whole names match.
#pragma once

#include <string>

class ExtensionList {
public:
    // extensions may be null: then no extension is present.
    explicit ExtensionList(const char* extensions);

    // Byte-exact, case-sensitive: true when " name " occurs in the padded list.
    bool has(const char* name) const;

private:
    std::string mPadded;
};
