#include "Controls.h"

#include <gtk/gtk.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Seat.h"

namespace {

GtkWidget* AsWidget(void* widget) {
    return static_cast<GtkWidget*>(widget);
}
GtkLabel* AsLabel(void* widget) {
    return GTK_LABEL(widget);
}

constexpr double kColorScale = 65535.0;
constexpr const char* kImagePathFormat = "/org/readycheck/ReadyCheck/images/%s%s.png";

struct FontOwner {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
using FontDescription = std::unique_ptr<PangoFontDescription, FontOwner>;

FontDescription Describe(const Font& font) {
    return FontDescription(pango_font_description_from_string(font.description.c_str()));
}

std::string DescriptionText(const PangoFontDescription* font) {
    gchar* text = pango_font_description_to_string(font);
    std::string described(text);
    g_free(text);
    return described;
}

guint16 Channel(float component) {
    return static_cast<guint16>(std::lround(static_cast<double>(component) * kColorScale));
}

// The label's attributes with one attribute replaced or added.
void ChangeAttribute(GtkLabel* label, PangoAttribute* attribute) {
    PangoAttrList* current = gtk_label_get_attributes(label);
    PangoAttrList* changed =
        current != nullptr ? pango_attr_list_copy(current) : pango_attr_list_new();
    pango_attr_list_change(changed, attribute);
    gtk_label_set_attributes(label, changed);
    pango_attr_list_unref(changed);
}

const PangoAttribute* FindAttribute(GtkLabel* label, PangoAttrType type) {
    PangoAttrList* list = gtk_label_get_attributes(label);
    if (list == nullptr) {
        return nullptr;
    }
    PangoAttrIterator* iterator = pango_attr_list_get_iterator(list);
    const PangoAttribute* found = pango_attr_iterator_get(iterator, type);
    pango_attr_iterator_destroy(iterator);
    return found;
}

Color FromRGBA(const GdkRGBA& color) {
    return {static_cast<float>(color.red), static_cast<float>(color.green),
            static_cast<float>(color.blue), static_cast<float>(color.alpha)};
}

// Drawn rather than asked for: a theme may paint the background with an image or a gradient.
Color DrawnBackground(GtkStyleContext* style) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cairo = cairo_create(surface);
    gtk_render_background(style, cairo, 0, 0, 1, 1);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    uint32_t pixel = 0;  // native-endian ARGB
    std::memcpy(&pixel, cairo_image_surface_get_data(surface), sizeof pixel);
    cairo_surface_destroy(surface);
    const auto channel = [&](int shift) {
        return static_cast<float>((pixel >> shift) & 0xFFU) / 255.0F;
    };
    const float alpha = channel(24);
    // Premultiplied; where the background is not opaque, what shows through is taken as black.
    return {channel(16), channel(8), channel(0), alpha};
}

// The theme that GTK loaded: GTK_THEME ("Adwaita:dark") outweighs the settings, as in GTK itself.
std::string ThemeName() {
    const char* forced = g_getenv("GTK_THEME");
    if (forced != nullptr && *forced != '\0') {
        const std::string name(forced);
        return name.substr(0, name.find(':'));
    }
    gchar* setting = nullptr;
    g_object_get(gtk_settings_get_default(), "gtk-theme-name", &setting, nullptr);
    std::string name = setting != nullptr ? setting : "";
    g_free(setting);
    return name;
}

Color TextColor(GtkStyleContext* style) {
    GdkRGBA color{};
    gtk_style_context_get_color(style, gtk_style_context_get_state(style), &color);
    return FromRGBA(color);
}

}  // namespace

bool Font::isBold() const {
    const FontDescription font = Describe(*this);
    return pango_font_description_get_weight(font.get()) >= PANGO_WEIGHT_BOLD;
}

Font ConvertFontToHaveTrait(const Font& font, unsigned int trait) {
    if ((trait & kBoldFontMask) == 0) {
        return font;
    }
    const FontDescription bold = Describe(font);
    pango_font_description_set_weight(bold.get(), PANGO_WEIGHT_BOLD);
    return Font{DescriptionText(bold.get())};
}

void Control::setHidden(bool hidden) {
    gtk_widget_set_visible(AsWidget(mWidget), !hidden);
}

bool Control::isHidden() const {
    return !gtk_widget_get_visible(AsWidget(mWidget));
}

void Control::setAccessibleName(const std::string& name) {
    atk_object_set_name(gtk_widget_get_accessible(AsWidget(mWidget)), name.c_str());
}

void Control::setAccessibleDescription(const std::string& description) {
    atk_object_set_description(gtk_widget_get_accessible(AsWidget(mWidget)), description.c_str());
}

void TextField::setStringValue(const std::string& text) {
    // Driver strings are not always UTF-8; show what can be shown rather than nothing.
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    gtk_label_set_text(AsLabel(widget()), valid);
    g_free(valid);
}

std::string TextField::stringValue() const {
    return gtk_label_get_text(AsLabel(widget()));
}

void TextField::setAttributedStringValue(const AttributedString& value) {
    setStringValue(value.text);
    PangoAttrList* attributes = pango_attr_list_new();
    const FontDescription font = Describe(value.font);
    pango_attr_list_insert(attributes, pango_attr_font_desc_new(font.get()));
    const Color& color = value.foregroundColor;
    pango_attr_list_insert(
        attributes,
        pango_attr_foreground_new(Channel(color.red), Channel(color.green), Channel(color.blue)));
    gtk_label_set_attributes(AsLabel(widget()), attributes);
    pango_attr_list_unref(attributes);
}

void TextField::setTextColor(const Color& color) {
    ChangeAttribute(
        AsLabel(widget()),
        pango_attr_foreground_new(Channel(color.red), Channel(color.green), Channel(color.blue)));
}

std::optional<Color> TextField::textColor() const {
    const auto* found = reinterpret_cast<const PangoAttrColor*>(
        FindAttribute(AsLabel(widget()), PANGO_ATTR_FOREGROUND));
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto component = [](guint16 channel) {
        return static_cast<float>(channel / kColorScale);
    };
    return Color{component(found->color.red), component(found->color.green),
                 component(found->color.blue), 1.0F};
}

Font TextField::font() const {
    const auto* found = reinterpret_cast<const PangoAttrFontDesc*>(
        FindAttribute(AsLabel(widget()), PANGO_ATTR_FONT_DESC));
    if (found != nullptr) {
        return Font{DescriptionText(found->desc)};
    }
    PangoContext* context = gtk_widget_get_pango_context(AsWidget(widget()));
    return Font{DescriptionText(pango_context_get_font_description(context))};
}

void TextField::setFont(const Font& font) {
    const FontDescription description = Describe(font);
    ChangeAttribute(AsLabel(widget()), pango_attr_font_desc_new(description.get()));
}

void TextField::announceStringValue() {
    AtkObject* accessible = gtk_widget_get_accessible(AsWidget(widget()));
    atk_object_set_role(accessible, ATK_ROLE_NOTIFICATION);
    // ATK 2.46 and later carry it to screen readers as an announcement.
    if (g_signal_lookup("announcement", ATK_TYPE_OBJECT) != 0) {
        g_signal_emit_by_name(accessible, "announcement", gtk_label_get_text(AsLabel(widget())));
    }
}

void ImageView::setImage(const std::string& imageName) {
    // The double-density artwork on high-density screens, so that it stays crisp there too.
    const int scale = gtk_widget_get_scale_factor(AsWidget(widget())) >= 2 ? 2 : 1;
    gchar* path = g_strdup_printf(kImagePathFormat, imageName.c_str(), scale == 2 ? "@2x" : "");
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_resource(path, nullptr);
    g_free(path);
    mImageName = imageName;
    if (pixbuf == nullptr) {
        gtk_image_clear(GTK_IMAGE(widget()));
        return;
    }
    cairo_surface_t* surface = gdk_cairo_surface_create_from_pixbuf(pixbuf, scale, nullptr);
    gtk_image_set_from_surface(GTK_IMAGE(widget()), surface);
    cairo_surface_destroy(surface);
    g_object_unref(pixbuf);
}

void Button::setTitle(const std::string& title) {
    gtk_button_set_label(GTK_BUTTON(widget()), title.c_str());
}

std::string Button::title() const {
    const char* label = gtk_button_get_label(GTK_BUTTON(widget()));
    return label != nullptr ? label : "";
}

void Window::center() {
    // GTK centres on the monitor under the pointer; without one, the compositor places it.
    if (SeatHasPointer()) {
        gtk_window_set_position(GTK_WINDOW(widget()), GTK_WIN_POS_CENTER);
    }
}

void Window::makeKeyAndOrderFront() {
    gtk_window_present(GTK_WINDOW(widget()));
}

bool Window::isVisible() const {
    return gtk_widget_get_visible(AsWidget(widget()));
}

std::string Window::title() const {
    const char* title = gtk_window_get_title(GTK_WINDOW(widget()));
    return title != nullptr ? title : "";
}

ThemeColors Window::themeColors() const {
    GtkStyleContext* style = gtk_widget_get_style_context(AsWidget(widget()));
    // GTK's own HighContrast and HighContrastInverse, which GNOME's high-contrast switch picks.
    return {DrawnBackground(style), TextColor(style), ThemeName().starts_with("HighContrast")};
}
