// The running system: its own sysfs and PCI ID database.
#include "Machine.h"

std::string SysfsRoot() {
    return "/sys";
}

const char* PciIdsPath() {
    return nullptr;
}
