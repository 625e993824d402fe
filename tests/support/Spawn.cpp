#include "Spawn.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

pid_t ForkOwnGroup() {
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0) {
        std::abort();  // nothing to test with
    }
    if (child == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(127);
        }
    }
    setpgid(child, child);  // in both, so that neither can act on the group before it exists
    return child;
}

pid_t Spawn(const Command& command, int input, int output, int errors) {
    // Made before the fork: the child of a threaded process may only make async-signal-safe calls.
    std::vector<std::string> arguments = command.arguments;
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        environment.emplace_back(*variable);
    }
    for (const Variable& change : command.environment) {
        std::erase_if(environment, [&](const std::string& variable) {
            return variable.starts_with(change.name + "=");
        });
        if (change.value) {
            environment.push_back(change.name + "=" + *change.value);
        }
    }
    const std::vector<char*> argv = Pointers(arguments);
    const std::vector<char*> envp = Pointers(environment);
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    const pid_t child = ForkOwnGroup();
    if (child == 0) {
        const int streams[] = {input, output, errors};
        for (int stream = 0; stream < 3; ++stream) {
            if (streams[stream] >= 0) {
                dup2(streams[stream], stream);
            }
        }
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            sigaction(signal, &defaults, nullptr);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return child;
}
