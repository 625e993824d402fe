#include "DisplayReport.h"

#include <plist/plist.h>

#include <limits>
#include <memory>
#include <vector>

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

// The parsed output, which owns items: its display report's "_items" array, or null when the
// output is not a property list of that shape.
struct DisplayItems {
    PlistOwner root;
    plist_t items = nullptr;
};

DisplayItems ParseDisplayItems(const uint8_t* output, std::size_t outputSize) {
    DisplayItems parsed;
    if (output == nullptr) {
        return parsed;
    }
    const auto [bytes, size] = XmlDocumentPart(output, outputSize);
    if (size == 0 || size > std::numeric_limits<uint32_t>::max() ||
        !XmlNestingWithinLimit(bytes, size)) {
        return parsed;
    }
    plist_t node = nullptr;
    plist_from_xml(reinterpret_cast<const char*>(bytes), static_cast<uint32_t>(size), &node);
    parsed.root.reset(node);
    plist_t report = IsArray(node) ? FindDisplayReport(node) : nullptr;
    plist_t items = report != nullptr ? plist_dict_get_item(report, "_items") : nullptr;
    parsed.items = IsArray(items) ? items : nullptr;
    return parsed;
}

// The items that are dictionaries, in order.
std::vector<plist_t> DeviceEntries(const DisplayItems& parsed) {
    std::vector<plist_t> entries;
    const uint32_t count = parsed.items != nullptr ? plist_array_get_size(parsed.items) : 0;
    for (uint32_t i = 0; i < count; ++i) {
        plist_t item = plist_array_get_item(parsed.items, i);
        if (IsDictionary(item)) {
            entries.push_back(item);
        }
    }
    return entries;
}

}  // namespace

std::optional<VideoMemoryKind> ReadVideoMemoryKind(const uint8_t* bytes, std::size_t size) {
    std::optional<VideoMemoryKind> kind;
    const DisplayItems parsed = ParseDisplayItems(bytes, size);
    for (plist_t entry : DeviceEntries(parsed)) {
        if (const auto vram = StringValue(plist_dict_get_item(entry, "spdisplays_vram"))) {
            kind = *vram == kIntegratedVRAM ? VideoMemoryKind::Shared : VideoMemoryKind::Dedicated;
        }
    }
    return kind;
}

std::vector<DisplayController> ReadDisplayDevices(const uint8_t* bytes, std::size_t size) {
    std::vector<DisplayController> devices;
    const DisplayItems parsed = ParseDisplayItems(bytes, size);
    for (plist_t entry : DeviceEntries(parsed)) {
        const auto value = [entry](const char* key) {
            return StringValue(plist_dict_get_item(entry, key));
        };
        const auto name = value("_name");
        devices.push_back({name ? name : value("sppci_model"), value("spdisplays_vendor"),
                           value("spdisplays_vendor-id"), value("spdisplays_device-id"),
                           value("sppci_bus"), value("spdisplays_driver"),
                           value("spdisplays_vram")});
    }
    if (!devices.empty()) {
        devices.back().drivesScreen = true;
    }
    return devices;
}
