// Where this machine's evidence is read.
#pragma once

#include "MachineEvidence.h"

// This machine: rooted at "/", with this process's environment, its X server's offer where the
// check drew on X (asked here, and only then) and /dev/dri as stat() shows it. Test and benchmark
// builds link another definition in its place.
EvidenceSources LiveEvidenceSources(bool drewOnX);
