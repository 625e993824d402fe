// Time from exec to the first window mapped, for the program and for the baseline, alternating
// runs so that both meet the same machine state. Prints each median and their ratio.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTimeoutMilliseconds = 30000;

// Seconds from spawning program to a MapNotify on the root window; negative on failure.
double TimeToWindow(Display* display, const char* program) {
    while (XPending(display) > 0) {
        XEvent stale;
        XNextEvent(display, &stale);
    }
    char* argv[] = {const_cast<char*>(program), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    double seconds = -1;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (seconds < 0) {
        if (XPending(display) == 0 && poll(&connection, 1, kTimeoutMilliseconds) <= 0) {
            break;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        }
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM BASELINE [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 11;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup_benchmark: no display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    std::vector<double> program;
    std::vector<double> baseline;
    for (int run = 0; run < runs; ++run) {
        program.push_back(TimeToWindow(display, argv[1]));
        baseline.push_back(TimeToWindow(display, argv[2]));
        if (program.back() < 0 || baseline.back() < 0) {
            std::fprintf(stderr, "startup_benchmark: no window within the time limit\n");
            return 1;
        }
    }
    const double ratio = Median(program) / Median(baseline);
    std::printf("start-up to window, median of %d: program %.3f s, baseline %.3f s, ratio %.2f\n",
                runs, Median(program), Median(baseline), ratio);
    XCloseDisplay(display);
    return 0;
}
