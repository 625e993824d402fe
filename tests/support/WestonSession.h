// The test scripts' compositor: scripts/with-weston.sh runs a Weston of its own and names its
// socket in WESTON_DISPLAY, so that only what means to use Wayland does.
#pragma once

#include "RunProgram.h"

// The socket's path; null without the script.
const char* WestonSocket();
// Its variables as a session names the compositor (GTK takes Wayland only with a runtime
// directory); empty without the script.
EnvironmentChanges WestonSession();
