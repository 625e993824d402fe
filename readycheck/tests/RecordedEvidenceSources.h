// The evidence of a recorded machine, as the program would read it there.
#pragma once

#include <string>

#include "EvidenceSources.h"

// A recorded machine's folder (profiler/tests/machines/NAME): its tree, whose usr/lib names its
// multiarch folder whatever this build's architecture; its "environment" (NAME=value lines), its
// X server's offer in "answers" ("x-server dri3 1", "x-server dri2 0", "x-server nv-glx 0"; none
// without such lines) and its /dev/dri manifest "dev-dri" (no /dev/dri without one).
EvidenceSources RecordedEvidenceSources(const std::string& machine);
