// The task runner collecting a large output, against the same bytes piped by cat into
// /dev/null, median of several runs, with this process's peak memory.
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "RunLoop.h"
#include "TaskWrapper.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Collector final : TaskWrapperController {
    bool finished = false;
    std::size_t bytes = 0;
    void processStarted(TaskWrapper* /*task*/) override {}
    void processFinished(TaskWrapper* task, bool /*success*/) override {
        bytes = task->output().size();
        finished = true;
    }
};

double RunnerSeconds(const std::string& size, std::size_t& bytes) {
    Collector collector;
    const auto start = Clock::now();
    auto* task = new TaskWrapper(&collector, {"/usr/bin/head", "-c", size, "/dev/zero"}, "/", {});
    task->startProcess();
    RunLoop::main().runUntil([&] { return collector.finished; }, 600.0);
    bytes = collector.bytes;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double PipeSeconds(const std::string& size) {
    const std::string command = "head -c " + size + " /dev/zero | cat > /dev/null";
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "the plain pipe failed\n");
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string size = argc > 1 ? argv[1] : "512M";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<double> runner;
    std::vector<double> pipe;
    std::size_t bytes = 0;
    for (int i = 0; i < runs; ++i) {
        runner.push_back(RunnerSeconds(size, bytes));
        pipe.push_back(PipeSeconds(size));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double runnerMedian = Median(runner);
    const double pipeMedian = Median(pipe);
    std::printf(
        "output: %zu bytes\nrunner: %.3f s (median of %d)\ncat pipe: %.3f s\n"
        "ratio: %.2f\npeak memory: %.1f MiB (%.2f times the output)\n",
        bytes, runnerMedian, runs, pipeMedian, runnerMedian / pipeMedian,
        static_cast<double>(usage.ru_maxrss) / 1024.0,
        static_cast<double>(usage.ru_maxrss) * 1024.0 / static_cast<double>(bytes));
    return 0;
}
