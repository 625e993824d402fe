#include "DriverProbe.h"

#include <cstdint>

#include "ProbeKit/ProbeKit.h"

namespace {

std::optional<std::string> CopyIdentityItem(VXStringArray identity, int32_t position) {
    const char* text = VXStringArrayGet(identity, position);
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace

DriverIdentity ProbeDriverIdentity() {
    VXStringArray identity = VXGetDriverOpenGLIdentity();
    DriverIdentity copied{CopyIdentityItem(identity, 1), CopyIdentityItem(identity, 2),
                          CopyIdentityItem(identity, 3), identity != nullptr};
    VXStringArrayDispose(identity);
    return copied;
}
