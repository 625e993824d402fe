#include "ChildProcess.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "PlatformException.h"

namespace {

struct GObjectReleaser {
    void operator()(void* object) const { g_object_unref(object); }
};
using LauncherOwner = std::unique_ptr<GSubprocessLauncher, GObjectReleaser>;

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

void GiveDescriptor(GSubprocessLauncher* launcher, const std::shared_ptr<Pipe>& pipe,
                    void (*take)(GSubprocessLauncher*, int)) {
    if (pipe != nullptr) {
        take(launcher, dup(pipe->writingDescriptor()));
    }
}

}  // namespace

ChildProcess::~ChildProcess() {
    if (mProcess != nullptr) {
        g_object_unref(mProcess);  // GLib's child watch keeps it until the child is collected
    }
}

void ChildProcess::launch() {
    // NOTE: checked here because the spawner would search PATH for a name without a slash.
    if (!IsExecutableFile(mLaunchPath)) {
        throw PlatformException(kInvalidArgumentException,
                                "launch path not accessible: " + mLaunchPath);
    }
    const LauncherOwner launcher(g_subprocess_launcher_new(G_SUBPROCESS_FLAGS_NONE));
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
    g_subprocess_launcher_set_environ(launcher.get(), const_cast<char**>(envp.data()));
    g_subprocess_launcher_set_cwd(launcher.get(), mDirectory.c_str());
    GiveDescriptor(launcher.get(), mOutput, g_subprocess_launcher_take_stdout_fd);
    GiveDescriptor(launcher.get(), mError, g_subprocess_launcher_take_stderr_fd);

    std::vector<const char*> argv{mLaunchPath.c_str()};
    for (const std::string& argument : mArguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    GError* error = nullptr;
    GSubprocess* process = g_subprocess_launcher_spawnv(launcher.get(), argv.data(), &error);
    if (process == nullptr) {
        const std::string reason = error != nullptr ? error->message : "launch failed";
        g_clear_error(&error);
        throw PlatformException(kInvalidArgumentException, reason);
    }
    mProcess = process;
    for (const auto& pipe : {mOutput, mError}) {
        if (pipe != nullptr) {
            pipe->closeWritingEnd();
        }
    }
}

void ChildProcess::terminate() {
    if (mProcess != nullptr) {
        g_subprocess_send_signal(static_cast<GSubprocess*>(mProcess), SIGTERM);
    }
}
