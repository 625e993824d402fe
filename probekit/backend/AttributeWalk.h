// AGL attribute words to a backend's config attributes, by the backend's table of what each word
// becomes there.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "GLPlatform.h"

namespace GLPlatform {

// What one AGL word becomes on a backend. A word may have several rules, applied in order.
struct WordRule {
    enum Kind {
        kPair,     // the native attribute with the value given
        kSize,     // the native attribute with the number that follows the word
        kNothing,  // every config of the backend has it
        kUnmet,    // no config of the backend has it
    };

    GLint word;
    Kind kind;
    int name = 0;
    int value = 0;
};

// A backend's translation. The words every backend reads alike are not in its rules: the window
// and off-screen drawable types, a hardware renderer, and the minimum policy and multisampling,
// which its minimum sizes and sample buffers already give.
struct AttributeTable {
    std::span<const WordRule> rules;
    int drawableTypes;  // the attribute whose bits list the drawable types
    int windowBit;      // the drawable type that stands for a window
    int offscreenBit;
    std::span<const int> forWindows;  // attribute pairs added when a window is asked for
    int end;                          // the list's terminator
};

struct ConfigRequest {
    std::vector<int> attributes;  // terminated
    bool accelerated = false;
    bool unmet = false;  // asks for what no config of the backend has
};

// The request that the AGL_NONE-terminated words make; none when a word is not one of the
// platform's.
std::optional<ConfigRequest> Walk(const GLint* words, const AttributeTable& table);

}  // namespace GLPlatform
