#include "AttributeWalk.h"

#include <algorithm>

namespace GLPlatform {

namespace {

// Applies the table's rules for the word; the number of words it took, 0 for a word it does not
// know.
int Apply(const GLint* word, const AttributeTable& table, ConfigRequest& request) {
    int taken = 0;
    for (const WordRule& rule : table.rules) {
        if (rule.word != *word) {
            continue;
        }
        taken = std::max(taken, 1);
        switch (rule.kind) {
            case WordRule::kPair:
                request.attributes.insert(request.attributes.end(), {rule.name, rule.value});
                break;
            case WordRule::kSize:
                request.attributes.insert(request.attributes.end(), {rule.name, word[1]});
                taken = 2;
                break;
            case WordRule::kNothing:
                break;
            case WordRule::kUnmet:
                request.unmet = true;
                break;
        }
    }
    return taken;
}

}  // namespace

std::optional<ConfigRequest> Walk(const GLint* words, const AttributeTable& table) {
    ConfigRequest request;
    int drawableBits = 0;
    for (const GLint* word = words; *word != AGL_NONE;) {
        int taken = 1;
        switch (*word) {
            case AGL_WINDOW:
                drawableBits |= table.windowBit;
                break;
            case AGL_OFFSCREEN:
                drawableBits |= table.offscreenBit;
                break;
            case AGL_ACCELERATED:
                request.accelerated = true;
                break;
            case AGL_MINIMUM_POLICY:
            case AGL_MULTISAMPLE:
                break;
            default:
                taken = Apply(word, table, request);
                if (taken == 0) {
                    return std::nullopt;
                }
        }
        word += taken;
    }
    request.attributes.insert(
        request.attributes.end(),
        {table.drawableTypes, drawableBits != 0 ? drawableBits : table.windowBit});
    if ((drawableBits & table.windowBit) != 0) {
        request.attributes.insert(request.attributes.end(), table.forWindows.begin(),
                                  table.forWindows.end());
    }
    request.attributes.push_back(table.end);
    return request;
}

}  // namespace GLPlatform
