#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <variant>

#include "Application.h"
#include "CommandLineCheck.h"
#include "CommandLineOptions.h"
#include "Controller.h"
#include "FactsJson.h"
#include "ReportText.h"
#include "StandardDescriptors.h"
#include "Termination.h"

namespace {

void Complain(const std::string& text) {
    std::fprintf(stderr, "ReadyCheck: %s\n", text.c_str());
}

// --report and --json: the facts on standard output, anything else one line on standard error,
// where whatever a driver prints goes too.
int RunWithoutWindow(RunMode mode) {
    const int answer = TakeStandardOutput();
    if (answer < 0) {
        Complain(std::string("cannot keep standard output apart: ") + std::strerror(errno));
        return kExitCouldNotCheck;
    }
    CommandLineCheck check({Controller::profilerPath(), "-detailLevel", "mini", "-xml"},
                           kProfilerBoundSeconds, {Controller::cardProbePath()},
                           kCardProbeBoundSeconds);
    // As in the window: a signal stops the profiler's whole group before the program ends.
    EndOnTerminationSignals([&check] { check.interrupt(); });
    const std::variant<Facts, std::string> result = check.run();
    if (const auto* why = std::get_if<std::string>(&result)) {
        Complain(*why);
        return kExitCouldNotCheck;
    }
    const Facts& facts = std::get<Facts>(result);
    const bool written =
        WriteAll(answer, mode == RunMode::Json ? FactsJson(facts) : ReportText(facts));
    close(answer);
    return written ? kExitChecked : kExitCouldNotCheck;
}

}  // namespace

int main(int argc, char** argv) {
    OpenClosedStandardDescriptors();
    std::setlocale(LC_ALL, "");
    const CommandLine options = ParseCommandLine(&argc, &argv);
    if (!options.usageError.empty()) {
        Complain(options.usageError);
        return kExitUsage;
    }
    switch (options.mode) {
        case RunMode::Help:
            std::fputs(options.help.c_str(), stdout);
            return kExitChecked;
        case RunMode::Version:
            std::printf("ReadyCheck %s\n", READYCHECK_VERSION);
            return kExitChecked;
        case RunMode::Report:
        case RunMode::Json:
            return RunWithoutWindow(options.mode);
        case RunMode::Window:
            break;
    }
    return ApplicationMain(argc, argv, [] { return std::make_unique<Controller>(); });
}
