// The driver probes on the real driver of $DISPLAY.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "ProbeKit/ProbeKit.h"

extern char** environ;

namespace {

// Runs the program with its output sent to /dev/null; true when it exits with 0. Benchmarks
// that use it count real time: the work is the child's, not this process's CPU time.
bool RunQuietly(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return failed == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void BM_ColdProbePairInFreshProcess(benchmark::State& state) {
    for (auto _ : state) {
        if (!RunQuietly({PROBE_ONCE_PATH})) {
            state.SkipWithError("the probe failed");
            break;
        }
    }
}
BENCHMARK(BM_ColdProbePairInFreshProcess)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->UseRealTime();

void BM_GlxinfoB(benchmark::State& state) {
    for (auto _ : state) {
        if (!RunQuietly({"glxinfo", "-B"})) {
            state.SkipWithError("glxinfo -B failed");
            break;
        }
    }
}
BENCHMARK(BM_GlxinfoB)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

void BM_CachedFeatures(benchmark::State& state) {
    VXGetDriverOpenGLFeatures();
    for (auto _ : state) {
        benchmark::DoNotOptimize(VXGetDriverOpenGLFeatures());
    }
}
BENCHMARK(BM_CachedFeatures);

}  // namespace

BENCHMARK_MAIN();
