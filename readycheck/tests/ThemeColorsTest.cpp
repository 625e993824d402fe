// The result colours against the window's background as it is drawn: the design's own on the
// ordinary light theme, the same hues at 4.5:1 on the dark and high-contrast themes that ctest
// gives it by GTK_THEME or a settings file, naming the theme in THEME_UNDER_TEST.
#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "RunLoop.h"
#include "StandIns.h"

namespace {

double Luminance(const Color& color) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(static_cast<double>(color.red)) +
           0.7152 * linear(static_cast<double>(color.green)) +
           0.0722 * linear(static_cast<double>(color.blue));
}

double Contrast(const Color& first, const Color& second) {
    const double a = Luminance(first) + 0.05;
    const double b = Luminance(second) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

double Hue(const Color& color) {
    const auto red = static_cast<double>(color.red);
    const auto green = static_cast<double>(color.green);
    const auto blue = static_cast<double>(color.blue);
    const double max = std::max({red, green, blue});
    const double chroma = max - std::min({red, green, blue});
    const double sector = max == red     ? (green - blue) / chroma
                          : max == green ? 2 + (blue - red) / chroma
                                         : 4 + (red - green) / chroma;
    return std::fmod(60 * sector + 360, 360);
}

bool Exactly(const std::optional<Color>& color, const Color& expected) {
    constexpr float kChannelStep = 1.0F / 65535;
    return color && std::abs(color->red - expected.red) <= kChannelStep &&
           std::abs(color->green - expected.green) <= kChannelStep &&
           std::abs(color->blue - expected.blue) <= kChannelStep;
}

class ThemeColors : public StandInWindowTest {
protected:
    // The window drawn by itself, so that no other test's window on the screen stands in for it.
    Color drawnBackground() {
        runUntil([] { return false; }, 0.2);  // laid out
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8, 8);
        cairo_t* cairo = cairo_create(surface);
        gtk_widget_draw(static_cast<GtkWidget*>(outlet<Window>("oResultWindow")->widget()), cairo);
        cairo_destroy(cairo);
        cairo_surface_flush(surface);
        uint32_t pixel = 0;  // at (0, 4): native-endian xRGB
        std::memcpy(
            &pixel,
            cairo_image_surface_get_data(surface) + 4 * cairo_image_surface_get_stride(surface),
            sizeof pixel);
        cairo_surface_destroy(surface);
        const auto channel = [&](int shift) {
            return static_cast<float>((pixel >> shift) & 0xFFU) / 255.0F;
        };
        return {channel(16), channel(8), channel(0), 1.0F};
    }
};

TEST_F(ThemeColors, PassAndFailReadAgainstTheBackgroundInTheDesignsHues) {
    launch(0x0F);
    RunLoop::main().cancelDelayedCalls();
    controller->showCheck1();  // passes
    controller->showCheck4();  // fails
    RunLoop::main().cancelDelayedCalls();
    const std::optional<Color> good = field("oHWOffCheck")->textColor();
    const std::optional<Color> bad = field("oAntiAliasCheck")->textColor();
    ASSERT_TRUE(good && bad);
    EXPECT_TRUE(Exactly(field("oAntiAliasLabel")->textColor(), *bad)) << "the caption's too";
    if (g_getenv("THEME_UNDER_TEST") == nullptr) {
        EXPECT_TRUE(Exactly(good, kGood));
        EXPECT_TRUE(Exactly(bad, kBad));
        return;
    }
    const Color background = drawnBackground();
    EXPECT_GE(Contrast(*good, background), 4.5);
    EXPECT_GE(Contrast(*bad, background), 4.5);
    EXPECT_NEAR(Hue(*good), Hue(kGood), 1.0);
    EXPECT_NEAR(Hue(*bad), Hue(kBad), 1.0);
}

}  // namespace
