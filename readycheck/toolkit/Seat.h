// The display's seat: its pointer and keyboard, which a headless compositor lacks altogether.
#pragma once

// Whether the display's seat has a pointer: GTK places a centred window on the monitor under it,
// and looks under it for a tooltip to show.
bool SeatHasPointer();

// GTK 3 looks up the seat's keyboard for every accelerator and key it handles, and says so on
// standard error each time when the display has no seat; those lines are dropped, the display's
// other complaints kept. Called before the toolkit opens its display.
void QuietMissingKeyboard();
