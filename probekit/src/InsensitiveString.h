// Strings whose comparisons fold the ASCII letters A-Z to a-z; the bytes are stored unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <string>

// Entry i is i, except A-Z, which map to a-z.
inline constexpr std::array<unsigned char, 256> kToLowerTable = [] {
    std::array<unsigned char, 256> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const bool upper = i >= 'A' && i <= 'Z';
        table[i] = static_cast<unsigned char>(upper ? i + 0x20 : i);
    }
    return table;
}();

// Orders characters by their table entries taken as signed bytes, so 0x80-0xFF order before
// plain ASCII. Every other operation is that of plain char.
struct char_traits_insensitive : std::char_traits<char> {
    static constexpr signed char folded(char c) noexcept {
        return static_cast<signed char>(kToLowerTable[static_cast<unsigned char>(c)]);
    }
    static constexpr bool lt(char a, char b) noexcept { return folded(a) < folded(b); }
    static constexpr int compare(const char* p, const char* q, std::size_t n) noexcept {
        for (std::size_t i = 0; i < n; ++i) {
            if (lt(p[i], q[i])) {
                return -1;
            }
            if (lt(q[i], p[i])) {
                return 1;
            }
        }
        return 0;
    }
};

using InsensitiveString = std::basic_string<char, char_traits_insensitive>;

// Copies text up to its NUL. Throws std::logic_error for a null pointer.
InsensitiveString MakeInsensitiveString(const char* text);
