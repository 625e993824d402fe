// This process's environment.
#pragma once

#include "ChildProcess.h"

Environment ProcessEnvironment();
