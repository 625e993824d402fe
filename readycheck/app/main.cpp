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
#include "LocalizedStrings.h"
#include "ReportText.h"
#include "StandardDescriptors.h"
#include "StringFormat.h"
#include "Termination.h"

namespace {

void Complain(const std::string& text) {
    std::fprintf(stderr, "ReadyCheck: %s\n", text.c_str());
}

// The answer on standard output (answer, from TakeStandardOutput), whole; where it is lost, one
// line says why and the status is 1, never 0.
int Deliver(int answer, const std::string& text) {
    const int error = answer < 0 ? errno : WriteAnswer(answer, text);
    if (error != 0) {
        Complain(
            StringWithFormat(LocalizedString("CommandLineOutputLost"), {std::strerror(error)}));
        return kExitCouldNotCheck;
    }
    return kExitChecked;
}

// --report and --json: the facts on standard output, anything else one line on standard error,
// where whatever a driver prints goes too.
int RunWithoutWindow(RunMode mode) {
    const int answer = TakeStandardOutput();
    if (answer < 0) {
        return Deliver(answer, {});  // nowhere to answer: the check is not run
    }
    CommandLineCheck check({Controller::profilerPath(), "-detailLevel", "mini", "-xml"},
                           kProfilerBoundSeconds, {Controller::cardProbePath()},
                           kCardProbeBoundSeconds);
    // As in the window: a signal stops the profiler's whole group before the program ends.
    EndOnTerminationSignals([&check] { check.interrupt(); });
    const std::variant<Facts, std::string> result = check.run();
    if (const auto* why = std::get_if<std::string>(&result)) {
        close(answer);
        Complain(*why);
        return kExitCouldNotCheck;
    }
    const Facts& facts = std::get<Facts>(result);
    return Deliver(answer, mode == RunMode::Json ? FactsJson(facts) : ReportText(facts));
}

}  // namespace

int main(int argc, char** argv) {
    // Before any thread starts, so that every thread inherits them held.
    HoldTerminationSignals();
    OpenClosedStandardDescriptors();
    std::setlocale(LC_ALL, "");
    const CommandLine options = ParseCommandLine(&argc, &argv);
    if (!options.usageError.empty()) {
        Complain(options.usageError);
        return kExitUsage;
    }
    switch (options.mode) {
        case RunMode::Help:
            return Deliver(TakeStandardOutput(), options.help);
        case RunMode::Version:
            return Deliver(TakeStandardOutput(),
                           std::string("ReadyCheck ") + READYCHECK_VERSION + "\n");
        case RunMode::Report:
        case RunMode::Json:
            return RunWithoutWindow(options.mode);
        case RunMode::Window:
            break;
    }
    return ApplicationMain(argc, argv, [] { return std::make_unique<Controller>(); });
}
