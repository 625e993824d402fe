#include "EvidenceSources.h"
#include "ProcessInfo.h"

EvidenceSources LiveEvidenceSources(bool drewOnX) {
    return {"/", READYCHECK_MULTIARCH, ProcessEnvironment(),
            drewOnX ? AskXServerOffer("") : std::nullopt, InspectDriNodes("/")};
}
