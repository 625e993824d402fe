#include "Workspace.h"

#include <gtk/gtk.h>

void OpenURL(const std::string& url) {
    GError* error = nullptr;
    if (gtk_show_uri_on_window(nullptr, url.c_str(), GDK_CURRENT_TIME, &error) == FALSE) {
        g_clear_error(&error);  // whether the page opened is not reported
    }
}
