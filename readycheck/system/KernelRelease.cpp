#include <cstdlib>

#include "SystemVersion.h"

namespace {

constexpr int kMaximumDigit = 9;
constexpr int kMaximumMajor = 99;

int ToBcd(int value) {
    return (value / 10) * 16 + value % 10;
}

}  // namespace

int32_t SystemVersionFromRelease(const std::string& release) {
    int parts[3] = {0, 0, 0};
    const char* cursor = release.c_str();
    for (int& part : parts) {
        char* end = nullptr;
        const long value = std::strtol(cursor, &end, 10);
        if (end == cursor) {
            break;
        }
        part = static_cast<int>(value < 0 ? 0 : value > kMaximumMajor ? kMaximumMajor : value);
        cursor = *end == '.' ? end + 1 : end;
        if (*end != '.') {
            break;
        }
    }
    const auto digit = [](int value) { return value > kMaximumDigit ? kMaximumDigit : value; };
    return static_cast<int32_t>((ToBcd(parts[0]) << 8) | (digit(parts[1]) << 4) | digit(parts[2]));
}
