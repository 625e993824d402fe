// Arbitrary profiler output, noise around the XML included: never a crash, leak or hang, a kind
// only from a valid report, and never a tree deeper than the nesting guard allowed.
#include <plist/plist.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "DisplayReport.h"
#include "XmlNesting.h"

namespace {

// Counted without recursion, so that a guard letting a deep tree through shows as a finding
// rather than as this function's own overflow.
std::size_t TreeDepth(plist_t root) {
    std::size_t deepest = 0;
    std::vector<std::pair<plist_t, std::size_t>> pending{{root, 1}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        deepest = depth > deepest ? depth : deepest;
        if (plist_get_node_type(node) == PLIST_ARRAY) {
            for (uint32_t i = 0; i < plist_array_get_size(node); ++i) {
                pending.emplace_back(plist_array_get_item(node, i), depth + 1);
            }
        } else if (plist_get_node_type(node) == PLIST_DICT) {
            plist_dict_iter iter = nullptr;
            plist_dict_new_iter(node, &iter);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(node, iter, &key, &value);
                std::free(key);
                if (value == nullptr) {
                    break;
                }
                pending.emplace_back(value, depth + 1);
            }
            std::free(iter);
        }
    }
    return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto kind = ReadVideoMemoryKind(data, size);
    // A report names its data type; without that string no kind can come out.
    static constexpr char kMarker[] = "SPDisplaysDataType";
    if (kind && size < sizeof kMarker - 1) {
        __builtin_trap();
    }
    // The parser reads only the part that the guard has seen.
    const XmlPart part = XmlDocumentPart(data, size);
    if (part.size > 0 && XmlNestingWithinLimit(part.bytes, part.size)) {
        plist_t root = nullptr;
        plist_from_xml(reinterpret_cast<const char*>(part.bytes), static_cast<uint32_t>(part.size),
                       &root);
        if (root != nullptr && TreeDepth(root) > kMaximumXmlNesting) {
            __builtin_trap();
        }
        plist_free(root);
    }
    return 0;
}
