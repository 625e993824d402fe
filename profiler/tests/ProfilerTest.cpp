// The display profiler: on each recorded machine it writes that machine's expected.xml.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "FileText.h"
#include "RunProgram.h"

namespace {

const std::string kReport = " -detailLevel mini -xml";

// The command's exit status and what it wrote, standard error included.
std::pair<int, std::string> Shell(const std::string& command) {
    const Ran ran = RunProgram({.arguments = {"/bin/sh", "-c", command}, .errorsIntoOutput = true});
    return {ran.status, ran.output};
}

// Every device the recorded machine has, the main display last.
TEST(Profiler, WritesEachRecordedMachinesExpectedReport) {
    for (const auto& machine : std::filesystem::directory_iterator(MACHINES)) {
        if (machine.is_directory()) {
            EXPECT_EQ(Shell("SYSTEM_PROFILER_MACHINE=" + machine.path().string() +
                            " " RECORDED_PROFILER + kReport),
                      std::pair(0, FileText(machine.path() / "expected.xml")))
                << machine.path().filename();
        }
    }
}

// The installed program reads this machine, whatever the environment names, and knows one set of
// arguments.
TEST(Profiler, TheInstalledProgramReadsThisMachineAndGivesOthersAUsageLine) {
    const auto own = Shell(SYSTEM_PROFILER + kReport);
    EXPECT_EQ(own.first, 0) << own.second;
    EXPECT_EQ(Shell("SYSTEM_PROFILER_MACHINE=" MACHINES "/intel-igpu " SYSTEM_PROFILER + kReport),
              own);
    const std::pair<int, std::string> usage(64, "usage: system_profiler -detailLevel mini -xml\n");
    for (const char* arguments : {"", " -detailLevel full -xml", " -detailLevel mini -xml -x"}) {
        EXPECT_EQ(Shell(SYSTEM_PROFILER + std::string(arguments)), usage) << arguments;
    }
}

}  // namespace
