// The program's test build reads its evidence from the recorded machine that
// SYSTEM_PROFILER_MACHINE names, the one the profiler's test build beside it reads.
#include <cstdlib>

#include "RecordedEvidenceSources.h"

EvidenceSources LiveEvidenceSources(bool /*drewOnX*/) {
    const char* machine = std::getenv("SYSTEM_PROFILER_MACHINE");
    return RecordedEvidenceSources(machine != nullptr ? machine : "");
}
