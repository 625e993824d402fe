// The string-array exports.
#include <algorithm>
#include <new>

#include "LastError.h"
#include "ProbeKit/ProbeKit.h"
#include "StringArrayRec.h"

VXStringArray VXStringArrayCreate(void) {
    auto* array = new (std::nothrow) VXStringArrayRec;
    if (array == nullptr) {
        gLastError = kErrOutOfMemory;
    }
    return array;
}

void VXStringArrayDispose(VXStringArray array) {
    if (IsLiveArray(array)) {
        delete array;
    }
}

const char* VXStringArrayGet(VXStringArray array, int32_t index) {
    gLastError = 0;
    if (!IsLiveArray(array) || index <= 0 ||
        static_cast<std::size_t>(index) > array->strings.size()) {
        gLastError = kErrBadIndex;
        return nullptr;
    }
    return array->strings[static_cast<std::size_t>(index) - 1].c_str();
}

int32_t VXStringArrayCount(VXStringArray array) {
    return IsLiveArray(array) ? static_cast<int32_t>(array->strings.size()) : 0;
}

int32_t VXStringArrayFind(VXStringArray array, const char* text) {
    gLastError = 0;
    int32_t result = 0;
    // A record that is not alive must not be read; it is treated as holding nothing.
    if (!IsLiveArray(array)) {
        return 0;
    }
    try {
        const InsensitiveString wanted = MakeInsensitiveString(text);
        const auto& strings = array->strings;
        const auto found = std::find(strings.begin(), strings.end(), wanted);
        if (found != strings.end()) {
            result = static_cast<int32_t>(found - strings.begin()) + 1;
        }
    } catch (...) {
        HandleException();
    }
    return result;
}

void VXStringArrayAppend(VXStringArray array, const char* text) {
    gLastError = 0;
    if (!IsLiveArray(array)) {
        return;
    }
    try {
        array->strings.push_back(MakeInsensitiveString(text));
    } catch (...) {
        HandleException();
    }
}

void VXStringArraySort(VXStringArray array) {
    if (!IsLiveArray(array)) {
        return;
    }
    try {
        std::sort(array->strings.begin(), array->strings.end());
    } catch (...) {
        HandleException();
    }
}
