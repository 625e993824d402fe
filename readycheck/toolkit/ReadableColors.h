// The result colours on the user's theme: the design's own on an ordinary light theme; on a dark
// or high-contrast theme the same hues, lightened or darkened until they read against the
// window's background.
#pragma once

#include "Controls.h"

// WCAG 2 relative luminance and contrast ratio (1 to 21).
double RelativeLuminance(const Color& color);
double ContrastRatio(const Color& first, const Color& second);

// The least change of the colour's lightness, keeping its hue, that gives text of that colour
// 4.5:1 against the theme's background; the colour itself where the theme is light and not
// high-contrast, or where it already reads.
Color ReadableColor(const Color& color, const ThemeColors& theme);
