// What one check found, collected once and needing no toolkit. The window, the report text, the
// JSON object and the accessible names are presentations of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DisplayReport.h"
#include "Rendering.h"
#include "SystemDescription.h"

enum class EditionSupport { Full, Limited, SignificantLimitations };

// The four checks and three editions, decided on the feature mask as the window decides them.
struct Assessment {
    bool offscreen = false;
    bool shadows = false;
    bool lighting = false;
    bool antiAliasing = false;
    EditionSupport basic = EditionSupport::Limited;
    EditionSupport advanced = EditionSupport::Limited;
    EditionSupport duo = EditionSupport::SignificantLimitations;
    bool operator==(const Assessment&) const = default;
};

Assessment Assess(int32_t featuresMask);

// Where the rendering answer came from.
enum class RenderingSource {
    RendererInformation,  // the main renderer's accelerated flag
    RendererName,         // the identity's renderer string, matched against software renderers
    None,
};

// How the display profiler's run went, as far as the report tells it.
enum class ProfilerState {
    Running,   // not ended yet
    Finished,  // its output was read
    TimedOut,  // stopped after the command line's bound; the devices are unknown
    LaunchFailed,
    ExitedWithError,
    Crashed,
};

struct ProfilerRun {
    ProfilerState state = ProfilerState::Running;
    std::string detail;  // what the runner knows of a failure: a message, a status, a signal
    bool operator==(const ProfilerRun&) const = default;
};

struct Facts {
    std::string programVersion;   // "1.0.0"
    std::string operatingSystem;  // the distribution's pretty name; empty when unknown
    std::string kernelRelease;    // uname's release; empty when unknown
    DisplaySystem displaySystem = DisplaySystem::Other;

    // The identity strings exactly as the driver gave them; none where it gave none.
    std::optional<std::string> vendor;
    std::optional<std::string> renderer;
    std::optional<std::string> driverVersion;

    Rendering rendering = Rendering::Unknown;
    RenderingSource renderingSource = RenderingSource::None;

    // The main renderer's video memory in bytes, as the window's first text shows it; 0 when no
    // accelerated, window-capable renderer gave one.
    int64_t videoMemoryBytes = 0;
    // From the profiler's last device entry; none until it tells.
    std::optional<VideoMemoryKind> videoMemoryKind;

    int32_t featuresMask = 0;
    Assessment assessment;

    ProfilerRun profiler;
    // The profiler's device entries in its order, the one driving the screen last.
    std::vector<DisplayController> displayControllers;

    bool operator==(const Facts&) const = default;
};
