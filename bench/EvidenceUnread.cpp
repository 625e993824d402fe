// ReadyCheck without the machine's evidence, for the causes benchmark: its sources are an empty
// root with no environment, no X server to ask and no /dev/dri, so the reader finds nothing.
#include "EvidenceSources.h"

EvidenceSources LiveEvidenceSources(bool /*drewOnX*/) {
    return {"/nonexistent", {}, {}, std::nullopt, {}};
}
