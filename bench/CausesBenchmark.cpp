// The machine's evidence read on this machine and the causes decided from it, as the check does
// for a result that is not ready: on $DISPLAY's X server where there is one.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Causes.h"
#include "EvidenceSources.h"

namespace {

void BM_EvidenceAndCauses(benchmark::State& state) {
    CardFacts software;
    software.rendering = Rendering::Software;
    const bool onX = std::getenv("DISPLAY") != nullptr;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            DecideCauses(software, ReadMachineEvidence(LiveEvidenceSources(onX))));
    }
}
BENCHMARK(BM_EvidenceAndCauses)->Unit(benchmark::kMicrosecond)->MinTime(1.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
