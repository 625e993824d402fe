// A child process: program, arguments, working directory, a replaced environment and pipes for
// its output. The child leads a process group of its own, so that a stop reaches whatever it
// started; no process of the group outlives the program. The ended child is collected by the
// platform; no zombie is left. A child that shares the program's terminal writes to it even
// while it is not the foreground job.
#pragma once

#include <sys/types.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Pipe.h"

using Environment = std::map<std::string, std::string>;

class ChildProcess {
public:
    ChildProcess() = default;
    // Kills what is left of the group.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void setLaunchPath(std::string path) { mLaunchPath = std::move(path); }
    void setArguments(std::vector<std::string> arguments) { mArguments = std::move(arguments); }
    void setCurrentDirectoryPath(std::string path) { mDirectory = std::move(path); }
    // Replaces the child's whole environment.
    void setEnvironment(Environment environment) { mEnvironment = std::move(environment); }
    void setStandardOutput(std::shared_ptr<Pipe> pipe) { mOutput = std::move(pipe); }
    void setStandardError(std::shared_ptr<Pipe> pipe) { mError = std::move(pipe); }
    const std::shared_ptr<Pipe>& standardOutput() const { return mOutput; }

    // Starts the child and closes this process's writing ends of its pipes. Throws
    // PlatformException when it cannot start (the launch path names no executable file, the
    // working directory does not exist, ...).
    void launch();
    // Sends the termination signal to the child's whole group; harmless once it has ended.
    void terminate();
    // Lets the group end by itself until the deadline, then kills whatever is left of it.
    void endGroupBy(Deadline deadline);
    // How the child ended, as waitpid tells it; none until it has been collected.
    std::optional<int> waitStatus() const { return mWaitStatus; }

private:
    bool groupAlive();
    void collect();

    std::string mLaunchPath;
    std::vector<std::string> mArguments;
    std::string mDirectory;
    Environment mEnvironment;
    std::shared_ptr<Pipe> mOutput;
    std::shared_ptr<Pipe> mError;
    pid_t mProcess = 0;  // also its group's id; 0 before a launch
    bool mGroupEnded = true;
    bool mCollected = true;
    std::optional<int> mWaitStatus;
};
