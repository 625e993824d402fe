#include "InChild.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

std::string InChild(const Environment& changes, std::string (*body)()) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return "no pipe";
    }
    const pid_t child = fork();
    if (child < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return "no child";
    }
    if (child == 0) {
        close(pipeEnds[0]);
        for (const auto& [name, value] : changes) {
            value != nullptr ? setenv(name, value, 1) : unsetenv(name);
        }
        const std::string text = body();
        const bool written =
            write(pipeEnds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got = 0; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : text + " (child failed)";
}
