#include "EvidenceSources.h"
#include "ProcessInfo.h"

EvidenceSources LiveEvidenceSources(bool drewOnX) {
    return {"/", ProcessEnvironment(),
            drewOnX ? AskXServerOffer("") : std::nullopt, InspectDriNodes("/")};
}
