#include "HostDisplay.h"

#include <optional>

namespace Graphics {

namespace {

std::optional<HostDisplay>& Shared() {
    static std::optional<HostDisplay> sDisplay;
    return sDisplay;
}

}  // namespace

void ShareHostDisplay(const HostDisplay& display) {
    Shared() = display;
}

const HostDisplay* SharedHostDisplay() {
    const std::optional<HostDisplay>& display = Shared();
    return display ? &*display : nullptr;
}

}  // namespace Graphics
