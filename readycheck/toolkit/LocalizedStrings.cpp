#include "LocalizedStrings.h"

#include <gio/gio.h>

#include <string_view>

namespace {

constexpr const char* kTablePath = "/org/readycheck/ReadyCheck/Localizable.strings";
// One table a language, named after it: translations/de.strings holds the German texts.
constexpr const char* kTranslationsPath = "/org/readycheck/ReadyCheck/translations/";
constexpr const char* kTranslationSuffix = ".strings";
constexpr const char* kGroup = "Strings";

GKeyFile* LoadResource(const std::string& path) {
    GKeyFile* table = g_key_file_new();
    GBytes* bytes = g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (bytes != nullptr) {
        gsize size = 0;
        const auto* text = static_cast<const char*>(g_bytes_get_data(bytes, &size));
        // Every translation is kept, so that a lookup follows the locale as it is at that time.
        g_key_file_load_from_data(table, text, size, G_KEY_FILE_KEEP_TRANSLATIONS, nullptr);
        g_bytes_unref(bytes);
    }
    return table;
}

// Adds a language's table to the English one as Key[language] entries.
void MergeTranslation(GKeyFile* table, const std::string& language) {
    GKeyFile* translation = LoadResource(kTranslationsPath + language + kTranslationSuffix);
    gchar** keys = g_key_file_get_keys(translation, kGroup, nullptr, nullptr);
    for (gchar** key = keys; key != nullptr && *key != nullptr; ++key) {
        gchar* text = g_key_file_get_string(translation, kGroup, *key, nullptr);
        if (text != nullptr) {
            g_key_file_set_locale_string(table, kGroup, *key, language.c_str(), text);
        }
        g_free(text);
    }
    g_strfreev(keys);
    g_key_file_unref(translation);
}

GKeyFile* Table() {
    static GKeyFile* sTable = [] {
        GKeyFile* table = LoadResource(kTablePath);
        gchar** files = g_resources_enumerate_children(kTranslationsPath,
                                                       G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
        for (gchar** file = files; file != nullptr && *file != nullptr; ++file) {
            const std::string name(*file);
            const std::string_view suffix(kTranslationSuffix);
            if (name.size() > suffix.size() && name.ends_with(suffix)) {
                MergeTranslation(table, name.substr(0, name.size() - suffix.size()));
            }
        }
        g_strfreev(files);
        return table;
    }();
    return sTable;
}

}  // namespace

std::string LocalizedString(const std::string& key) {
    // The locale's fallback chain (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) ends in the English
    // text, which is also what C and POSIX get.
    gchar* text = g_key_file_get_locale_string(Table(), kGroup, key.c_str(), nullptr, nullptr);
    if (text == nullptr) {
        return key;
    }
    std::string found(text);
    g_free(text);
    return found;
}

std::string EnglishString(const std::string& key) {
    // Translations are kept as Key[language]: the plain key holds the English text.
    gchar* text = g_key_file_get_string(Table(), kGroup, key.c_str(), nullptr);
    if (text == nullptr) {
        return key;
    }
    std::string found(text);
    g_free(text);
    return found;
}
