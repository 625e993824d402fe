#include "DisplayReport.h"

#include <plist/plist.h>

#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr const char* kDisplaysDataType = "SPDisplaysDataType";
constexpr const char* kIntegratedVRAM = "spdisplays_integrated_vram";
// Deeper than any report; the parser recurses once a level, so unbounded input could exhaust
// the stack.
constexpr int kMaximumNesting = 64;

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

// True when no element nests deeper than the limit: opening tags minus closing ones. One pass:
// the next '>' is looked up again only once the scan has passed it.
bool NestingWithinLimit(const uint8_t* bytes, std::size_t size) {
    const uint8_t* close = bytes;
    int depth = 0;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (bytes[i] != '<') {
            continue;
        }
        const uint8_t next = bytes[i + 1];
        if (next == '/') {
            depth = depth > 0 ? depth - 1 : 0;  // stray closing tags earn no credit
        } else if (next != '?' && next != '!') {
            if (close != nullptr && close <= bytes + i) {
                close = static_cast<const uint8_t*>(std::memchr(bytes + i, '>', size - i));
            }
            if (close == nullptr) {
                break;  // no tag closes from here on, so none opens
            }
            // A self-closing element ("<true/>", "<array/>") opens nothing.
            if (close[-1] != '/') {
                ++depth;
            }
        }
        if (depth > kMaximumNesting) {
            return false;
        }
    }
    return true;
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
        !NestingWithinLimit(bytes, size)) {
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

std::vector<DisplayDeviceEntry> ReadDisplayDevices(const uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0 || size > std::numeric_limits<uint32_t>::max() ||
        !NestingWithinLimit(bytes, size)) {
        return {};
    }
    plist_t parsed = nullptr;
    plist_from_xml(reinterpret_cast<const char*>(bytes), static_cast<uint32_t>(size), &parsed);
    const PlistOwner root(parsed);
    plist_t report = IsArray(root.get()) ? FindDisplayReport(root.get()) : nullptr;
    plist_t items = report != nullptr ? plist_dict_get_item(report, "_items") : nullptr;
    if (!IsArray(items)) {
        return {};
    }
    std::vector<DisplayDeviceEntry> devices;
    const uint32_t count = plist_array_get_size(items);
    for (uint32_t i = 0; i < count; ++i) {
        plist_t item = plist_array_get_item(items, i);
        if (IsDictionary(item)) {
            const auto name = StringValue(plist_dict_get_item(item, "_name"));
            devices.push_back({name ? name : StringValue(plist_dict_get_item(item, "sppci_model")),
                               StringValue(plist_dict_get_item(item, "spdisplays_driver")),
                               StringValue(plist_dict_get_item(item, "spdisplays_vram"))});
        }
    }
    return devices;
}
