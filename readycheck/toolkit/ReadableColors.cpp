#include "ReadableColors.h"

#include <cmath>

namespace {

constexpr double kReadableContrast = 4.5;  // WCAG 2 AA for text
constexpr int kSearchSteps = 24;

double Linear(float channel) {
    const auto c = static_cast<double>(channel);
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

bool IsDark(const ThemeColors& theme) {
    return RelativeLuminance(theme.background) < RelativeLuminance(theme.text);
}

bool NeedsReadableColors(const ThemeColors& theme) {
    return IsDark(theme) || theme.highContrast;
}

// Mixing with white or black scales every channel difference alike, so the hue stays.
Color Mix(const Color& color, double toward, double amount) {
    const auto channel = [&](float value) {
        const auto from = static_cast<double>(value);
        return static_cast<float>(from + (toward - from) * amount);
    };
    return {channel(color.red), channel(color.green), channel(color.blue), color.alpha};
}

}  // namespace

double RelativeLuminance(const Color& color) {
    return 0.2126 * Linear(color.red) + 0.7152 * Linear(color.green) + 0.0722 * Linear(color.blue);
}

double ContrastRatio(const Color& first, const Color& second) {
    const double a = RelativeLuminance(first) + 0.05;
    const double b = RelativeLuminance(second) + 0.05;
    return a > b ? a / b : b / a;
}

Color ReadableColor(const Color& color, const ThemeColors& theme) {
    if (!NeedsReadableColors(theme) ||
        ContrastRatio(color, theme.background) >= kReadableContrast) {
        return color;
    }
    const double toward = IsDark(theme) ? 1.0 : 0.0;
    // Mixing moves the luminance one way only: the contrast may fall until it passes the
    // background's and then rises, so the mixes that read form one range ending at white (or
    // black), and the search finds where it starts: the least change.
    double unreadable = 0.0;
    double readable = 1.0;
    for (int step = 0; step < kSearchSteps; ++step) {
        const double middle = (unreadable + readable) / 2;
        if (ContrastRatio(Mix(color, toward, middle), theme.background) >= kReadableContrast) {
            readable = middle;
        } else {
            unreadable = middle;
        }
    }
    return Mix(color, toward, readable);
}
