#include "SystemVersion.h"

#include <sys/utsname.h>

namespace {

std::string KernelRelease() {
    utsname names{};
    return uname(&names) == 0 ? names.release : "";
}

}  // namespace

int32_t GestaltSystemVersion() {
    return SystemVersionFromRelease(KernelRelease());
}

std::string OperatingSystemVersionString() {
    utsname names{};
    if (uname(&names) != 0) {
        return "Linux";
    }
    return std::string(names.sysname) + " " + names.release;
}
