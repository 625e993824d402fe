// The identity probe as the start-up makes it.
#pragma once

#include <optional>
#include <string>

struct DriverIdentity {
    std::optional<std::string> vendor;
    std::optional<std::string> renderer;
    std::optional<std::string> version;
    bool answered = false;  // the probe returned a handle
};

// Asks ProbeKit for the identity, copies positions 1 to 3 and disposes of the array at once.
DriverIdentity ProbeDriverIdentity();
