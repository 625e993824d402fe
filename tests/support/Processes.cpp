#include "Processes.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <regex>
#include <sstream>
#include <vector>

#include "FileText.h"
#include "WaitFor.h"

namespace {

namespace fs = std::filesystem;

struct Process {
    pid_t pid = 0;
    pid_t parent = 0;
    bool running = false;  // not a zombie
    std::string commandLine;
    fs::path executable;
};

std::vector<Process> Processes() {
    std::vector<Process> found;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        const std::string line = FileText(entry.path() / "stat");
        std::istringstream fields(line.substr(line.rfind(')') + 1));  // the name may hold anything
        std::string state;
        Process process;
        if (name.find_first_not_of("0123456789") == std::string::npos &&
            fields >> state >> process.parent) {
            process.pid = std::stoi(name);
            process.running = state != "Z";
            process.commandLine = FileText(entry.path() / "cmdline");
            std::replace(process.commandLine.begin(), process.commandLine.end(), '\0', ' ');
            if (process.commandLine.ends_with(' ')) {
                process.commandLine.pop_back();
            }
            std::error_code unreadable;
            process.executable = fs::read_symlink(entry.path() / "exe", unreadable);
            found.push_back(process);
        }
    }
    return found;
}

}  // namespace

bool HasChild(bool runningOnly) {
    return std::ranges::any_of(Processes(), [&](const Process& process) {
        return process.parent == getpid() && (process.running || !runningOnly);
    });
}

bool NoChildLeft(double seconds, const std::vector<pid_t>& kept) {
    return WaitFor(
        [&] {
            bool left = false;
            for (const Process& process : Processes()) {
                if (process.parent == getpid() &&
                    std::ranges::find(kept, process.pid) == kept.end()) {
                    left = left || waitpid(process.pid, nullptr, WNOHANG) == 0;
                }
            }
            return !left;
        },
        seconds);
}

bool Runs(const fs::path& executable) {
    return std::ranges::any_of(
        Processes(), [&](const Process& process) { return process.executable == executable; });
}

bool GoneWithin(const std::string& pattern, double seconds) {
    const std::regex expression(pattern, std::regex::extended);
    std::vector<Process> left;
    const bool gone = WaitFor(
        [&] {
            left = Processes();
            std::erase_if(left, [&](const Process& process) {
                return !process.running || !std::regex_search(process.commandLine, expression);
            });
            return left.empty();
        },
        seconds);
    for (const Process& process : left) {
        kill(process.pid, SIGKILL);
    }
    return gone;
}
