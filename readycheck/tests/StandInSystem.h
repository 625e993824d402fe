// Stand-ins for ProbeKit and the system seams, linked into the window tests and the stand-in
// program in place of the real ones.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace StandIn {

struct Renderer {
    int64_t videoMemory = 0;
    int64_t accelerated = 1;
    int64_t window = 1;
    bool fails = false;  // every property of this renderer reports an error
};

struct System {
    uint32_t mask = 0;
    // Vendor, renderer and version; without them the identity probe returns no handle.
    std::optional<std::vector<std::string>> identity =
        std::vector<std::string>{"Stand-in Vendor", "Stand-in Renderer", "2.1 STAND-IN"};
    int32_t versionAnswer = 0x0610;
    std::string versionString = "Linux 6.1.0-stand-in";
    bool rendererQueryFails = false;
    std::vector<Renderer> renderers;
    int rendererInfoAlive = 0;
    std::vector<std::string> openedURLs;  // asked for, whether a browser opened them or not
    bool noBrowser = false;
    // The recorded machine whose evidence explains a result that is not ready: by default one on
    // which nothing explains it.
    std::string evidenceMachine = "intel-igpu";
    // Every probe call, and each runner made with its directory and arguments, in order.
    std::vector<std::string> events;
};

// Starts afresh from the defaults above.
System& Reset();
// What the stand-ins answer now.
System& Current();

}  // namespace StandIn
