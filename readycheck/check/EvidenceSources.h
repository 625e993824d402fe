// Where this machine's evidence is read.
#pragma once

#include <optional>
#include <string>

#include "MachineEvidence.h"

// This machine: rooted at "/", with this process's environment, the X server's offer as the
// caller asked it (none where the check did not draw on X) and /dev/dri as stat() shows it.
EvidenceSources LiveEvidenceSources(std::optional<XServerOffer> xServer);
