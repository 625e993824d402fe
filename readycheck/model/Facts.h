// What one check found, collected once and needing no toolkit. The window, the report text, the
// JSON object and the accessible names are presentations of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Assessment.h"
#include "Cause.h"
#include "DisplayReport.h"
#include "DisplaySystem.h"
#include "Rendering.h"

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
    OutputTooLarge,  // its output reached kDisplayReportLimit; the devices are unknown
};

struct ProfilerRun {
    ProfilerState state = ProfilerState::Running;
    std::string detail;  // what the runner knows of a failure: a message, a status, a signal
    bool operator==(const ProfilerRun&) const = default;
};

// What one probe of a graphics card found: the main card's in the window, another card's through
// the helper that probes it.
struct CardFacts {
    // The identity strings exactly as the driver gave them; none where it gave none.
    std::optional<std::string> vendor;
    std::optional<std::string> renderer;
    std::optional<std::string> driverVersion;

    Rendering rendering = Rendering::Unknown;
    RenderingSource renderingSource = RenderingSource::None;

    // The main renderer's video memory in bytes, as the window's first text shows it; 0 when no
    // accelerated, window-capable renderer gave one.
    int64_t videoMemoryBytes = 0;
    // From the profiler's last device entry; none until it tells, and none for another card.
    std::optional<VideoMemoryKind> videoMemoryKind;

    int32_t featuresMask = 0;
    Assessment assessment;

    bool operator==(const CardFacts&) const = default;
};

// How another graphics card's check went.
enum class CardStatus {
    Waiting,       // listed, not probed yet
    Checking,      // its helper runs
    Checked,       // its facts are the card's own
    NotReachable,  // the probe ran, but not on this card: offload did not take
    Failed,        // the helper gave no answer that can be read
};

// Why a card is not reachable or could not be checked.
enum class CardCause {
    None,
    OffloadNotSetUp,  // the helper drew on the main card
    DriverMissing,    // the helper fell back to a software renderer
    TimedOut,         // no answer within the bound
    OutOfTime,        // the whole check's time ran out before its probe or during it
    Crashed,          // ended by a signal; the detail names it
    ExitedWithError,  // ended with a status other than 0; the detail gives it
    LaunchFailed,     // the helper could not be started; the detail is the runner's message
    Unreadable,       // its output was no answer of the helper's shape
};

// A graphics card other than the one a normal start uses, and how to start a program on it.
struct OtherCard {
    std::string name;
    // Added to a program's environment to start it on this card, in the order given.
    std::vector<std::pair<std::string, std::string>> environment;
    // Listed by switcheroo-control, whose desktops offer a menu item for it.
    bool listedByDesktop = false;
    CardStatus status = CardStatus::Waiting;
    CardCause cause = CardCause::None;
    std::string detail;
    // Why a card that is not reachable is not, as the machine shows it.
    std::vector<Cause> causes;
    CardFacts facts;  // what its probe found; only when Checked

    bool operator==(const OtherCard&) const = default;
};

struct Facts : CardFacts {
    std::string programVersion;   // "1.0.0"
    std::string operatingSystem;  // the distribution's pretty name; empty when unknown
    std::string kernelRelease;    // uname's release; empty when unknown
    DisplaySystem displaySystem = DisplaySystem::Other;

    ProfilerRun profiler;
    // The profiler's device entries in its order, the one driving the screen last.
    std::vector<DisplayController> displayControllers;

    // Why the main card's result is not ready, most specific first; none for a ready result.
    std::vector<Cause> causes;
    // Every card but the main one, in the order they are listed and probed.
    std::vector<OtherCard> otherCards;

    bool operator==(const Facts&) const = default;
};
