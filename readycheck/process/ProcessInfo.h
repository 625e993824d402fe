// This process's environment.
#pragma once

#include "ChildProcess.h"

Environment ProcessEnvironment();

// The directory of the running program, from /proc/self/exe; empty when unknown.
std::string ExecutableDirectory();
