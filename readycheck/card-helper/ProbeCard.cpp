// Probes the graphics card that this process's environment selects (Mesa's DRI_PRIME, NVIDIA's
// offload variables) as ReadyCheck probes the main card, and prints what it found as the card
// fields of ReadyCheck's JSON. ReadyCheck runs it once for each of the computer's other cards.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "CardRecording.h"
#include "DriverProbe.h"
#include "FactsJson.h"
#include "GetVRAM.h"
#include "ProbeKit/ProbeKit.h"

namespace {

// The answer goes to the descriptor that standard output was; whatever a driver prints on
// standard output goes to standard error instead, so that nothing else lands in the answer.
int TakeStandardOutput() {
    const int answer = dup(STDOUT_FILENO);
    if (answer >= 0) {
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    return answer;
}

bool WriteAll(int descriptor, const std::string& text) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = write(descriptor, text.data() + written, text.size() - written);
        if (count < 0) {
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

int main() {
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
    const bool written = WriteAll(answer, CardJson(card));
    close(answer);
    return written ? 0 : 1;
}
