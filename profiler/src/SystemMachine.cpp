// The running system: its own sysfs, PCI ID database and kernel drivers.
#include "DriverQueries.h"
#include "Machine.h"

std::string SysfsRoot() {
    return "/sys";
}

const char* PciIdsPath() {
    return nullptr;
}

void AskDriver(const DisplayDevice& device, MemorySignals& signals) {
    AskKernelDriver(device, signals);
}
