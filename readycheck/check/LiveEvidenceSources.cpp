#include "EvidenceSources.h"
#include "ProcessInfo.h"

EvidenceSources LiveEvidenceSources(std::optional<XServerOffer> xServer) {
    return {"/", ProcessEnvironment(), xServer, InspectDriNodes("/")};
}
