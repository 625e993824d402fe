// The window and its controls, over GTK 3 widgets made by the interface file.
#pragma once

#include <optional>
#include <string>

// A colour in calibrated RGB, components from 0 to 1.
struct Color {
    float red;
    float green;
    float blue;
    float alpha;
    static Color colorWithCalibratedRed(float red, float green, float blue, float alpha) {
        return {red, green, blue, alpha};
    }
    bool operator==(const Color&) const = default;
};

// The colours a theme gives a window: its background and its text; and whether the theme is one
// of the high-contrast ones that users choose to read more easily.
struct ThemeColors {
    Color background;
    Color text;
    bool highContrast = false;
};

// A font as a Pango description ("DejaVu Sans Bold 18").
struct Font {
    std::string description;
    bool isBold() const;
    bool operator==(const Font&) const = default;
};

constexpr unsigned int kBoldFontMask = 2;

// The bold (or other trait) form of a font.
Font ConvertFontToHaveTrait(const Font& font, unsigned int trait);

struct AttributedString {
    std::string text;
    Font font;
    Color foregroundColor;
};

class Control {
public:
    explicit Control(void* widget) : mWidget(widget) {}
    // The application owns its controls through this base.
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    void setHidden(bool hidden);
    bool isHidden() const;
    // What assistive technology reads for the control in place of its glyph or picture.
    void setAccessibleName(const std::string& name);
    // What a screen reader says after the name.
    void setAccessibleDescription(const std::string& description);
    void* widget() const { return mWidget; }

private:
    void* mWidget;  // GtkWidget, owned by the window
};

class TextField : public Control {
public:
    using Control::Control;
    void setStringValue(const std::string& text);
    std::string stringValue() const;
    void setAttributedStringValue(const AttributedString& value);
    void setTextColor(const Color& color);
    std::optional<Color> textColor() const;
    Font font() const;
    void setFont(const Font& font);
    // Has assistive technology say the field's text now, as a notification.
    void announceStringValue();
};

class ImageView : public Control {
public:
    using Control::Control;
    // Shows the image of that name from the application's resources.
    void setImage(const std::string& imageName);
    const std::string& imageName() const { return mImageName; }

private:
    std::string mImageName;
};

class Button : public Control {
public:
    using Control::Control;
    void setTitle(const std::string& title);
    std::string title() const;
};

class Window : public Control {
public:
    using Control::Control;
    void center();
    void makeKeyAndOrderFront();
    bool isVisible() const;
    std::string title() const;
    // The theme's colours for this window: the background as it is drawn, and the text.
    ThemeColors themeColors() const;
};
