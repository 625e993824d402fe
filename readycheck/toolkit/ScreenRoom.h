// How much of its screen a window may take.
#pragma once

#include <gtk/gtk.h>

// The height, in the toolkit's units, that the window's content may take from where its top
// stands to the bottom of its monitor's work area (the screen less the desktop's panels), less
// the window manager's frame; the whole work area's where its place is not known. 0 where the
// display names no monitor.
int HeightToScreenBottom(GtkWidget* window);
