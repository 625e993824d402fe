#include "FactRecording.h"

#include <sys/wait.h>

#include <cstring>

#include "DisplayChoice.h"
#include "OsRelease.h"
#include "SystemDescription.h"
#include "TaskWrapper.h"

namespace {

std::string SignalText(int signal) {
    const char* name = sigabbrev_np(signal);
    return std::to_string(signal) + (name != nullptr ? std::string(" (SIG") + name + ")" : "");
}

}  // namespace

ProfilerRun EndedRun(std::optional<int> waitStatus) {
    if (waitStatus && WIFSIGNALED(*waitStatus)) {
        return {ProfilerState::Crashed, SignalText(WTERMSIG(*waitStatus))};
    }
    if (waitStatus && WIFEXITED(*waitStatus) && WEXITSTATUS(*waitStatus) != 0) {
        return {ProfilerState::ExitedWithError, std::to_string(WEXITSTATUS(*waitStatus))};
    }
    return {ProfilerState::Finished, {}};
}

void RecordProfilerRun(Facts& facts, const TaskWrapper& task, bool success) {
    const ByteBuffer& output = task.output();
    if (!success) {
        // The runner's own message of why the launch failed.
        facts.profiler = {
            ProfilerState::LaunchFailed,
            output.size() == 0
                ? std::string()
                : std::string(reinterpret_cast<const char*>(output.data()), output.size())};
        return;
    }
    if (task.outputLimitReached()) {
        facts.profiler = {ProfilerState::OutputTooLarge, {}};
        return;
    }
    facts.displayControllers = ReadDisplayDevices(output.data(), output.size());
    facts.videoMemoryKind = ReadVideoMemoryKind(output.data(), output.size());
    facts.profiler = EndedRun(task.terminationStatus());
}

void RecordSystem(Facts& facts) {
    facts.programVersion = READYCHECK_VERSION;
    facts.operatingSystem = DistributionFromOsRelease(OsReleaseText());
    facts.kernelRelease = RunningKernelRelease();
    facts.displaySystem = CurrentDisplaySystem();
}
