#include "RunProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <utility>

#include "Spawn.h"

namespace {

// Reads the descriptors to their ends and collects the child, killing its group at the bound.
Ran Collect(pid_t child, int output, int errors, const Command& command) {
    Ran ran;
    std::string* texts[] = {&ran.output, &ran.errors};
    pollfd streams[] = {{output, POLLIN, 0}, {errors, POLLIN, 0}};
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    for (bool ended = false; !ended || streams[0].fd >= 0 || streams[1].fd >= 0;) {
        ran.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (ran.seconds > command.bound) {
            ran.timedOut = true;
            kill(-child, SIGKILL);
            if (!ended) {
                waitpid(child, &status, 0);
            }
            break;
        }
        poll(streams, 2, 50);
        for (std::size_t i = 0; i < 2; ++i) {
            char buffer[65536];
            const ssize_t got =
                streams[i].revents != 0 ? read(streams[i].fd, buffer, sizeof buffer) : -1;
            if (got > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || (streams[i].revents & (POLLHUP | POLLERR)) != 0) {
                close(std::exchange(streams[i].fd, -1));
            }
        }
        ended = ended || waitpid(child, &status, WNOHANG) == child;
        if (command.meanwhile) {
            command.meanwhile();
        }
    }
    for (const pollfd& stream : streams) {
        if (stream.fd >= 0) {
            close(stream.fd);
        }
    }
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ran.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return ran;
}

// A file holding the text, read from its start; -1 without one.
int InputFile(const std::optional<std::string>& text) {
    if (!text) {
        return -1;
    }
    const int file = memfd_create("input", MFD_CLOEXEC);
    if (write(file, text->data(), text->size()) != static_cast<ssize_t>(text->size())) {
        close(file);
        return -1;
    }
    lseek(file, 0, SEEK_SET);
    return file;
}

}  // namespace

Variable::Variable(std::string variableName, const char* text)
    : name(std::move(variableName)),
      value(text != nullptr ? std::optional<std::string>(text) : std::nullopt) {}

Variable::Variable(std::string variableName, std::string text)
    : name(std::move(variableName)), value(std::move(text)) {}

std::string EnvArguments(const EnvironmentChanges& variables) {
    std::string removed;
    std::string set;
    for (const Variable& variable : variables) {
        if (variable.value) {
            set += " " + variable.name + "=" + *variable.value;
        } else {
            removed += " -u " + variable.name;
        }
    }
    const std::string all = removed + set;
    return all.empty() ? all : all.substr(1);
}

void ApplyEnvironment(const EnvironmentChanges& variables) {
    for (const Variable& variable : variables) {
        variable.value ? setenv(variable.name.c_str(), variable.value->c_str(), 1)
                       : unsetenv(variable.name.c_str());
    }
}

Ran RunProgram(const Command& command) {
    int output[2] = {-1, -1};
    int errors[2] = {-1, -1};
    pipe2(output, O_CLOEXEC);
    if (!command.errorsIntoOutput) {
        pipe2(errors, O_CLOEXEC);
    }
    const int input = InputFile(command.input);
    const pid_t child =
        Spawn(command, input, output[1], command.errorsIntoOutput ? output[1] : errors[1]);
    for (const int end : {input, output[1], errors[1]}) {
        if (end >= 0) {
            close(end);
        }
    }
    return Collect(child, output[0], errors[0], command);
}

std::string InChild(const EnvironmentChanges& changes, const std::function<std::string()>& body) {
    int answer[2] = {-1, -1};
    pipe2(answer, O_CLOEXEC);
    const pid_t child = ForkOwnGroup();
    if (child == 0) {
        ApplyEnvironment(changes);
        const std::string text = body();
        _exit(write(answer[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0
                                                                                              : 1);
    }
    close(answer[1]);
    const Ran ran = Collect(child, answer[0], -1, {});
    return ran.status == 0 ? ran.output : ran.output + " (child failed)";
}
