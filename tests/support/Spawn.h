// How the support library starts a child: in a process group of its own, so that a bound can kill
// it whole, and with SIGTERM when this thread ends, so that a test that crashes leaves no server
// behind.
#pragma once

#include <sys/types.h>

#include "RunProgram.h"

// Returns as fork does.
pid_t ForkOwnGroup();

// Its standard streams are the descriptors given, or stay this process's own where one is -1; the
// termination signals are at their defaults, as a terminal gives them.
pid_t Spawn(const Command& command, int input, int output, int errors);
