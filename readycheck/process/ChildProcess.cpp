#include "ChildProcess.h"

#include <dirent.h>
#include <glib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <set>
#include <thread>

#include "PlatformException.h"

namespace {

constexpr auto kGroupPollInterval = std::chrono::milliseconds(5);

// Groups still running, killed when the program ends without having stopped them (a library
// calling exit(), for instance).
class LiveGroups {
public:
    static LiveGroups& shared() {
        static LiveGroups sGroups;
        return sGroups;
    }
    void add(pid_t group) { mGroups.insert(group); }
    void remove(pid_t group) { mGroups.erase(group); }
    ~LiveGroups() {
        if (getpid() != mOwner) {
            return;  // a forked copy of this program owns none of them
        }
        for (const pid_t group : mGroups) {
            kill(-group, SIGKILL);
        }
    }
    LiveGroups(const LiveGroups&) = delete;
    LiveGroups& operator=(const LiveGroups&) = delete;

private:
    LiveGroups() = default;
    pid_t mOwner = getpid();
    std::set<pid_t> mGroups;
};

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

int WritingDescriptor(const std::shared_ptr<Pipe>& pipe) {
    return pipe != nullptr ? pipe->writingDescriptor() : -1;
}

// Runs in the child between fork and exec: only async-signal-safe calls.
void EnterOwnGroup(void* parent) {
    setpgid(0, 0);
    // A group of its own is a background job on the program's terminal: where that terminal
    // stops background writers (stty tostop), a child writing to the standard error it shares
    // would be stopped until its bound. Ignored, the signal lets the write through.
    signal(SIGTTOU, SIG_IGN);
    // The program holds the termination signals blocked; a child must end by them.
    sigset_t termination;
    sigemptyset(&termination);
    for (const int held : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&termination, held);
    }
    sigprocmask(SIG_UNBLOCK, &termination, nullptr);
    // Killed with this program even when it ends by a signal.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != *static_cast<pid_t*>(parent)) {
        _exit(127);  // the program ended before the line above took effect
    }
}

// True when a process that has not ended belongs to the group. Zombies do not count: an
// orphan's zombie may wait seconds for init to collect it.
bool GroupHasLiveMember(pid_t group) {
    DIR* processes = opendir("/proc");
    if (processes == nullptr) {
        return true;
    }
    bool found = false;
    while (const dirent* entry = readdir(processes)) {
        const std::string stat = std::string("/proc/") + entry->d_name + "/stat";
        FILE* file = entry->d_name[0] >= '1' && entry->d_name[0] <= '9'
                         ? std::fopen(stat.c_str(), "re")
                         : nullptr;
        if (file == nullptr) {
            continue;
        }
        char line[1024] = {};
        const std::size_t length = std::fread(line, 1, sizeof line - 1, file);
        std::fclose(file);
        const char* fields = std::strrchr(line, ')');  // the name before it may hold anything
        char state = 0;
        int parent = 0;
        int processGroup = 0;
        if (length > 0 && fields != nullptr &&
            std::sscanf(fields, ") %c %d %d", &state, &parent, &processGroup) == 3 &&
            processGroup == group && state != 'Z' && state != 'X') {
            found = true;
            break;
        }
    }
    closedir(processes);
    return found;
}

}  // namespace

ChildProcess::~ChildProcess() {
    if (groupAlive()) {
        kill(-mProcess, SIGKILL);
    }
    if (!mCollected) {
        // Killed or ending: GLib collects it once it has.
        g_child_watch_add(
            mProcess, [](GPid process, int, void*) { g_spawn_close_pid(process); }, nullptr);
    }
    if (mProcess != 0) {
        LiveGroups::shared().remove(mProcess);
    }
}

void ChildProcess::launch() {
    // NOTE: checked here because the spawner would report a missing program less plainly.
    if (!IsExecutableFile(mLaunchPath)) {
        throw PlatformException(kInvalidArgumentException,
                                "launch path not accessible: " + mLaunchPath);
    }
    std::vector<std::string> variables;
    variables.reserve(mEnvironment.size());
    for (const auto& [name, value] : mEnvironment) {
        variables.push_back(name);
        variables.back().append("=").append(value);
    }
    std::vector<const char*> envp;
    envp.reserve(variables.size() + 1);
    for (const std::string& variable : variables) {
        envp.push_back(variable.c_str());
    }
    envp.push_back(nullptr);
    std::vector<const char*> argv{mLaunchPath.c_str()};
    for (const std::string& argument : mArguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);

    pid_t parent = getpid();
    GPid process = 0;
    GError* error = nullptr;
    // The child is not collected behind our back: its id names its group until it is.
    if (g_spawn_async_with_pipes_and_fds(
            mDirectory.c_str(), argv.data(), envp.data(), G_SPAWN_DO_NOT_REAP_CHILD, EnterOwnGroup,
            &parent, -1, WritingDescriptor(mOutput), WritingDescriptor(mError), nullptr, nullptr, 0,
            &process, nullptr, nullptr, nullptr, &error) == FALSE) {
        const std::string reason = error != nullptr ? error->message : "launch failed";
        g_clear_error(&error);
        throw PlatformException(kInvalidArgumentException, reason);
    }
    mProcess = process;
    mGroupEnded = false;
    mCollected = false;
    LiveGroups::shared().add(mProcess);
    for (const auto& pipe : {mOutput, mError}) {
        if (pipe != nullptr) {
            pipe->closeWritingEnd();
        }
    }
}

void ChildProcess::collect() {
    int status = 0;
    if (!mCollected && waitpid(mProcess, &status, WNOHANG) == mProcess) {
        mCollected = true;
        mWaitStatus = status;
    }
}

bool ChildProcess::groupAlive() {
    if (mGroupEnded) {
        return false;
    }
    collect();
    // Once the child is collected and the group is empty, its id may be reused: never signal
    // it again.
    if (mCollected && (kill(-mProcess, 0) != 0 || !GroupHasLiveMember(mProcess))) {
        mGroupEnded = true;
        LiveGroups::shared().remove(mProcess);
    }
    return !mGroupEnded;
}

void ChildProcess::terminate() {
    if (groupAlive()) {
        kill(-mProcess, SIGTERM);
    }
}

void ChildProcess::endGroupBy(Deadline deadline) {
    while (groupAlive() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kGroupPollInterval);
    }
    if (groupAlive()) {
        kill(-mProcess, SIGKILL);
    }
}
