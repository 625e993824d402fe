// Where the machine's evidence is read: this machine, or a recorded one.
#pragma once

#include <optional>
#include <string>

#include "MachineEvidence.h"

// This machine: rooted at "/", with this process's environment, the X server's offer as the
// caller asked it (none where the check did not draw on X) and /dev/dri as stat() shows it.
EvidenceSources LiveEvidenceSources(std::optional<XServerOffer> xServer);

// A recorded machine's folder (profiler/tests/machines/NAME): its tree, its "environment"
// (NAME=value lines), its X server's offer in "answers" ("x-server dri3 1", "x-server dri2 0",
// "x-server nv-glx 0"; none without such lines) and its /dev/dri manifest "dev-dri" (no /dev/dri
// without one).
EvidenceSources RecordedEvidenceSources(const std::string& machine);
