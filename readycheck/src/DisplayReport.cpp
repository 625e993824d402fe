#include "DisplayReport.h"

#include <plist/plist.h>

#include <limits>
#include <memory>

#include "XmlNesting.h"

namespace {

constexpr const char* kDisplaysDataType = "SPDisplaysDataType";
constexpr const char* kIntegratedVRAM = "spdisplays_integrated_vram";

struct PlistReleaser {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistOwner = std::unique_ptr<void, PlistReleaser>;

// The string value of a string node, or null.
std::optional<std::string> StringValue(plist_t node) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_STRING) {
        return std::nullopt;
    }
    // NOTE: plist_get_string_val asserts on a string that holds a NUL byte; the pointer and
    // length serve every string, exactly.
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    if (text == nullptr) {
        return std::nullopt;
    }
    return std::string(text, static_cast<std::size_t>(length));
}

bool IsDictionary(plist_t node) {
    return node != nullptr && plist_get_node_type(node) == PLIST_DICT;
}
bool IsArray(plist_t node) {
    return node != nullptr && plist_get_node_type(node) == PLIST_ARRAY;
}

plist_t FindDisplayReport(plist_t root) {
    const uint32_t count = plist_array_get_size(root);
    for (uint32_t i = 0; i < count; ++i) {
        plist_t element = plist_array_get_item(root, i);
        if (!IsDictionary(element)) {
            continue;
        }
        // A data type that is not a string does not match.
        if (StringValue(plist_dict_get_item(element, "_dataType")) == kDisplaysDataType) {
            return element;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<VideoMemoryKind> ReadVideoMemoryKind(const uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0 || size > std::numeric_limits<uint32_t>::max() ||
        !XmlNestingWithinLimit(bytes, size)) {
        return std::nullopt;
    }
    plist_t parsed = nullptr;
    plist_from_xml(reinterpret_cast<const char*>(bytes), static_cast<uint32_t>(size), &parsed);
    const PlistOwner root(parsed);
    if (!IsArray(root.get())) {
        return std::nullopt;
    }
    plist_t report = FindDisplayReport(root.get());
    if (report == nullptr) {
        return std::nullopt;
    }
    plist_t items = plist_dict_get_item(report, "_items");
    if (!IsArray(items)) {
        return std::nullopt;
    }
    std::optional<VideoMemoryKind> kind;
    const uint32_t count = plist_array_get_size(items);
    for (uint32_t i = 0; i < count; ++i) {
        plist_t item = plist_array_get_item(items, i);
        if (!IsDictionary(item)) {
            continue;
        }
        if (const auto vram = StringValue(plist_dict_get_item(item, "spdisplays_vram"))) {
            kind = *vram == kIntegratedVRAM ? VideoMemoryKind::Shared : VideoMemoryKind::Dedicated;
        }
    }
    return kind;
}
