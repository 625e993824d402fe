// A program started in the background, for a test that acts on it while it runs; its process group
// is killed and it is collected when this goes, unless that has been done.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "RunProgram.h"

class StartedProgram {
public:
    // Where its standard output goes: this process's own, nowhere, or to readLine(). Its standard
    // error goes there too with the command's errorsIntoOutput, else it is this process's own.
    enum class Output { Own, Discarded, Piped };

    explicit StartedProgram(const Command& command, Output output = Output::Own);
    ~StartedProgram();
    StartedProgram(StartedProgram&& other) noexcept;
    StartedProgram& operator=(StartedProgram&&) = delete;

    pid_t pid() const { return mPid; }
    // Its next line of output, without the newline; empty at the end.
    std::string readLine();
    // Its exit status once it ends within the time (-1 where a signal ended it); none while it
    // runs. Collects it.
    std::optional<int> exitStatus(double seconds);
    // Whether it exits with status 0 within the time; killed where it does not end.
    bool endsCleanly(double seconds);
    // Sends the signal to its process group, then collects it.
    void stop(int signal);

private:
    pid_t mPid = -1;
    int mOutput = -1;
    bool mRunning = true;
};
