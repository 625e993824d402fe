// The plain-text report of a run that the user can copy and share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DisplayReport.h"
#include "SystemDescription.h"

struct ReportInputs {
    std::string programVersion;  // the build's version, "1.0.0"
    std::string osRelease;       // the os-release file's text; empty when there is none
    std::string kernelRelease;   // uname's release; empty when unknown
    DisplaySystem displaySystem = DisplaySystem::X11;
    // The identity strings exactly as the driver gave them; none for one it did not give.
    std::optional<std::string> vendor;
    std::optional<std::string> renderer;
    std::optional<std::string> driverVersion;
    std::string videoMemoryLine;               // as the window shows it
    std::optional<std::string> renderingLine;  // as the window shows it, where it has one
    int32_t featuresMask = 0;
    // Every device entry of the profiler's output; none while the profiler still runs.
    std::optional<std::vector<DisplayDeviceEntry>> displayDevices;
};

// One text per line, every one from the string table; the checks and verdicts are decided on the
// feature mask as the window decides them.
std::vector<std::string> ReportLines(const ReportInputs& inputs);

// The lines, each ended by a newline.
std::string ReportText(const ReportInputs& inputs);
