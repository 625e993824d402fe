#include "SystemDescription.h"

#include <sys/utsname.h>

#include <fstream>

namespace {

constexpr const char* kOsReleasePaths[] = {"/etc/os-release", "/usr/lib/os-release"};
// Far beyond any real file; a larger one is not an os-release file.
constexpr std::streamsize kMaximumOsRelease = 64L * 1024;

}  // namespace

std::string OsReleaseText() {
    for (const char* path : kOsReleasePaths) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            continue;
        }
        std::string text(static_cast<std::size_t>(kMaximumOsRelease), '\0');
        file.read(text.data(), kMaximumOsRelease);
        text.resize(static_cast<std::size_t>(file.gcount()));
        return text;
    }
    return {};
}

std::string RunningKernelRelease() {
    utsname names{};
    return uname(&names) == 0 ? names.release : "";
}
