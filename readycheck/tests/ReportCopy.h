// Copies the report through the window as a user does, and reads it back from the clipboard.
#pragma once

#include <gtk/gtk.h>

#include <sstream>
#include <string>
#include <vector>

#include "Clipboard.h"
#include "Controller.h"

// The clipboard's lines after "Copy Report" was pressed, or Ctrl+C typed in the window.
inline std::vector<std::string> CopyReportLines(Controller& controller, bool byKeyboard) {
    SetClipboardText("");
    for (const auto& outlet : controller.outlets()) {
        const std::string name = outlet.name;
        auto* widget = std::visit([](auto** field) { return (*field)->widget(); }, outlet.pointer);
        if (byKeyboard && name == "oResultWindow") {
            gtk_accel_groups_activate(G_OBJECT(widget), GDK_KEY_c, GDK_CONTROL_MASK);
        } else if (!byKeyboard && name == "oCopyReportButton") {
            gtk_button_clicked(GTK_BUTTON(widget));
        }
    }
    std::istringstream text(ClipboardText());
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}
