// Probes the graphics card that this process's environment selects (Mesa's DRI_PRIME, NVIDIA's
// offload variables) as ReadyCheck probes the main card, and prints what it found as the card
// fields of ReadyCheck's JSON. ReadyCheck runs it once for each of the computer's other cards.
#include <unistd.h>

#include <cstdio>
#include <optional>

#include "CardRecording.h"
#include "DriverProbe.h"
#include "FactsJson.h"
#include "GetVRAM.h"
#include "ProbeKit/ProbeKit.h"
#include "StandardDescriptors.h"

int main() {
    // Whatever a driver prints on standard output goes to standard error, not into the answer.
    const int answer = TakeStandardOutput();
    if (answer < 0) {
        std::perror("probe_card");
        return 1;
    }
    CardFacts card;
    const auto featuresMask = static_cast<int32_t>(VXGetDriverOpenGLFeatures());
    RecordDriver(card, featuresMask, ProbeDriverIdentity());
    std::optional<bool> mainRendererAccelerated;
    const int64_t videoMemory = GetVRAM(&mainRendererAccelerated);
    RecordVideoMemory(card, videoMemory, mainRendererAccelerated);
    return WriteAnswer(answer, CardJson(card)) == 0 ? 0 : 1;
}
