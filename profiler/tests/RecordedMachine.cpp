// A recorded machine in the directory SYSTEM_PROFILER_MACHINE names: its sysfs tree in sys/, its
// own pci.ids or else the one beside it, and in "answers" the replies of its drivers and X server
// ("<address> amdgpu-apu 1", "<address> i915-local-memory <bytes>", "x-screen device <address>").
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Machine.h"
#include "RecordedMachine.h"

namespace fs = std::filesystem;

namespace {
const char* const kDirectory = std::getenv("SYSTEM_PROFILER_MACHINE");
const fs::path kRecorded = kDirectory != nullptr ? kDirectory : "";
}  // namespace

std::string SysfsRoot() {
    return kRecorded / "sys";
}

const char* PciIdsPath() {
    static const std::string path =
        fs::exists(kRecorded / "pci.ids") ? kRecorded / "pci.ids" : kRecorded / "../pci.ids";
    return path.c_str();
}

void AskDriver(const DisplayDevice& device, MemorySignals& signals) {
    std::string status;
    std::ifstream(kRecorded / "sys/bus/pci/devices" / device.address / "power/runtime_status") >>
        status;
    if (status == "suspended") {
        std::printf("woke %s\n", device.address.c_str());  // spoils the report
    }
    AddRecordedDriverAnswers(kRecorded, device.address, signals);
}

std::optional<std::string> ScreenDevice() {
    return RecordedAnswer(kRecorded, "x-screen", "device");
}
