// What an X server offers its clients for drawing on a GPU directly.
#pragma once

#include <optional>
#include <string>

struct XServerOffer {
    bool dri3 = false;
    bool dri2 = false;
    bool nvidiaGlx = false;  // NV-GLX: NVIDIA's X driver, whose GLX draws without DRI
    bool operator==(const XServerOffer&) const = default;
};

// Asks the X server of display (DISPLAY's syntax; empty for $DISPLAY) which of the DRI3, DRI2 and
// NV-GLX extensions it lists; none when no server answers.
std::optional<XServerOffer> AskXServerOffer(const std::string& display);
