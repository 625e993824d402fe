// The record behind a VXStringArray handle.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "InsensitiveString.h"

struct VXStringArrayRec {
    static constexpr uint32_t kLiveTag = 0x53616E65;  // "Sane"

    VXStringArrayRec() = default;
    ~VXStringArrayRec() { tag = 0; }
    VXStringArrayRec(const VXStringArrayRec&) = delete;
    VXStringArrayRec& operator=(const VXStringArrayRec&) = delete;

    bool IsSane() const noexcept { return tag == kLiveTag; }

    // Declared first so that it is cleared before the strings are destroyed.
    uint32_t tag = kLiveTag;
    std::vector<InsensitiveString> strings;
};

// True for a non-null handle whose record is alive.
inline bool IsLiveArray(const VXStringArrayRec* array) noexcept {
    return array != nullptr && array->IsSane();
}

// Owns a record until it is handed to a caller.
using StringArrayOwner = std::unique_ptr<VXStringArrayRec>;
