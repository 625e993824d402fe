#include "Workspace.h"

#include <gtk/gtk.h>

bool OpenURL(const std::string& url) {
    GError* error = nullptr;
    const bool opened = gtk_show_uri_on_window(nullptr, url.c_str(), GDK_CURRENT_TIME, &error);
    g_clear_error(&error);  // the caller says so in its own words
    return opened;
}
