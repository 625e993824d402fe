// The ways out of a running application other than its close action: a termination signal, a
// lost X display and a Wayland compositor gone. Each asks the application to end through the same
// call as the close action.
#pragma once

#include <functional>

using TerminationRequest = std::function<void()>;

// Blocks SIGTERM, SIGINT and SIGHUP in this thread and so in every thread it starts after: one that
// comes stays pending until the main loop takes it, and a wait for a display server outside the
// loop sees it and stops (Graphics::TerminationSignalWaiting). Called first in main, before any
// thread starts. Child processes get them unblocked again.
void HoldTerminationSignals();
// Unblocks them in this thread: before the toolkit starts what must not inherit them blocked (a
// browser, a session bus).
void ReleaseTerminationSignals();

// Handles SIGTERM, SIGINT and SIGHUP on the main loop, held or not; a signal that the program
// inherited as ignored (as nohup leaves SIGHUP) stays ignored. A later call changes what they ask
// for.
void EndOnTerminationSignals(const TerminationRequest& terminate);

// On X11, a lost connection to the toolkit's display no longer ends the process on the spot: Xlib's
// calls on it answer nothing from then on, and the main loop ends the application. Nor does an X
// error that the toolkit did not expect: the request fails, and the application goes on. On
// Wayland, the compositor gone ends the application the same way.
void EndOnLostDisplay(const TerminationRequest& terminate);
