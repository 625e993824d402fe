#include "LocalizedStrings.h"

#include <gio/gio.h>

namespace {

constexpr const char* kTablePath = "/org/readycheck/ReadyCheck/Localizable.strings";
constexpr const char* kGroup = "Strings";

GKeyFile* Table() {
    static GKeyFile* sTable = [] {
        GKeyFile* table = g_key_file_new();
        GBytes* bytes = g_resources_lookup_data(kTablePath, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
        if (bytes != nullptr) {
            gsize size = 0;
            const auto* text = static_cast<const char*>(g_bytes_get_data(bytes, &size));
            g_key_file_load_from_data(table, text, size, G_KEY_FILE_NONE, nullptr);
            g_bytes_unref(bytes);
        }
        return table;
    }();
    return sTable;
}

}  // namespace

std::string LocalizedString(const std::string& key) {
    // One English table, looked up without the locale, so it shows under C/POSIX as well.
    gchar* text = g_key_file_get_string(Table(), kGroup, key.c_str(), nullptr);
    if (text == nullptr) {
        return key;
    }
    std::string found(text);
    g_free(text);
    return found;
}
