#include "StartedProgram.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <utility>

#include "Spawn.h"
#include "WaitFor.h"

StartedProgram::StartedProgram(const Command& command, Output output) {
    int ends[2] = {-1, -1};
    if (output == Output::Piped) {
        pipe2(ends, O_CLOEXEC);
    } else if (output == Output::Discarded) {
        ends[1] = open("/dev/null", O_WRONLY | O_CLOEXEC);
    }
    mPid = Spawn(command, -1, ends[1], command.errorsIntoOutput ? ends[1] : -1);
    if (ends[1] >= 0) {
        close(ends[1]);
    }
    mOutput = ends[0];
}

StartedProgram::StartedProgram(StartedProgram&& other) noexcept
    : mPid(other.mPid),
      mOutput(std::exchange(other.mOutput, -1)),
      mRunning(std::exchange(other.mRunning, false)) {}

StartedProgram::~StartedProgram() {
    stop(SIGKILL);
    if (mOutput >= 0) {
        close(mOutput);
    }
}

std::string StartedProgram::readLine() {
    std::string line;
    for (char c = 0; read(mOutput, &c, 1) == 1 && c != '\n';) {
        line += c;
    }
    return line;
}

std::optional<int> StartedProgram::exitStatus(double seconds) {
    int status = -1;  // stays so where another waitpid collected it
    if (!mRunning || !WaitFor([&] { return waitpid(mPid, &status, WNOHANG) != 0; }, seconds)) {
        return std::nullopt;
    }
    mRunning = false;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool StartedProgram::endsCleanly(double seconds) {
    const std::optional<int> status = exitStatus(seconds);
    stop(SIGKILL);
    return status == 0;
}

void StartedProgram::stop(int signal) {
    if (mRunning) {
        kill(-mPid, signal);
        waitpid(mPid, nullptr, 0);
        mRunning = false;
    }
}
