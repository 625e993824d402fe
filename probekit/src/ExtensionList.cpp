#include "ExtensionList.h"

ExtensionList::ExtensionList(const char* extensions) : mPadded(" ") {
    if (extensions != nullptr) {
        mPadded += extensions;
        mPadded += ' ';
    }
}

bool ExtensionList::has(const char* name) const {
    std::string token = " ";
    token += name;
    token += ' ';
    return mPadded.find(token) != std::string::npos;
}
