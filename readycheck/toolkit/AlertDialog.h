// The GTK dialog that shows an alert, and its modal run. Alert::runModal is defined apart from
// them, so that tests can link a run that watches and answers each alert.
#pragma once

#include <gtk/gtk.h>

#include "Alert.h"

// The responses that Return and Escape give; 0 where no button carries the key.
struct AlertKeys {
    int onReturn = 0;
    int onEscape = 0;
};

// keys must outlive the dialog: its key handler reads them.
GtkWidget* MakeAlertDialog(const Alert& alert, AlertKeys& keys);

// Runs the dialog modally in the modal-panel run-loop mode, destroys it and returns the
// response. Throws ApplicationTerminating, the dialog destroyed, when the application is stopped
// while it runs.
int RunAlertDialog(GtkWidget* dialog);
