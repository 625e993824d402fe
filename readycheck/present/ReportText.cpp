#include "ReportText.h"

#include <cstdio>
#include <optional>

#include "CauseTexts.h"
#include "FactFields.h"
#include "LocalizedStrings.h"
#include "OtherCardTexts.h"
#include "StringFormat.h"

namespace {

constexpr const char* kSharedVRAM = "spdisplays_integrated_vram";
constexpr int64_t kBytesPerMegabyte = 1048576;

// Control characters, C0, DEL and C1 (UTF-8 C2 80 to C2 9F), and the Unicode line and paragraph
// separators (E2 80 A8, E2 80 A9) become spaces, one for each.
std::string OnOneLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0U;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0U;
        if (byte < 0x20 || byte == 0x7F) {
            line += ' ';
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            line += ' ';
            ++i;
        } else if (byte == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) {
            line += ' ';
            i += 2;
        } else {
            line += text[i];
        }
    }
    return line;
}

std::string Line(const std::string& key, const std::vector<std::string>& arguments) {
    std::vector<std::string> safe;
    safe.reserve(arguments.size());
    for (const std::string& argument : arguments) {
        safe.push_back(OnOneLine(argument));
    }
    return StringWithFormat(LocalizedString(key), safe);
}

std::string OrNotReported(const std::string& text) {
    return text.empty() ? LocalizedString("ReportNotReported") : text;
}

std::string OrNotReported(const std::optional<std::string>& text) {
    return text ? *text : LocalizedString("ReportNotReported");
}

std::string IdentityItem(const std::optional<std::string>& text) {
    return text ? *text : LocalizedString("IdentityUnknown");
}

std::string CheckLine(const char* key, bool passed) {
    return Line(key, {LocalizedString(passed ? "ReportPass" : "ReportFail")});
}

std::string DisplaySystemLine(DisplaySystem system) {
    switch (system) {
        case DisplaySystem::X11:
            return LocalizedString("ReportDisplayX11");
        case DisplaySystem::X11UnderWayland:
            return LocalizedString("ReportDisplayXWayland");
        case DisplaySystem::Wayland:
            return LocalizedString("ReportDisplayWayland");
        case DisplaySystem::NoDisplay:
            return LocalizedString("ReportDisplayNone");
        case DisplaySystem::Other:
            break;
    }
    return LocalizedString("ReportDisplayOther");
}

std::string MaskText(int32_t mask) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<uint32_t>(mask));
    return text;
}

std::string MemoryKind(const std::optional<std::string>& vram) {
    return vram == kSharedVRAM ? LocalizedString("ReportSharedMemory") : OrNotReported(vram);
}

// Where the devices come from: the profiler's state, unless it finished and listed some.
std::optional<std::string> ProfilerLine(const ProfilerRun& run, bool listedDevices) {
    switch (run.state) {
        case ProfilerState::Running:
            return LocalizedString("ReportDisplayDevicesPending");
        case ProfilerState::Finished:
            break;
        case ProfilerState::TimedOut:
            return LocalizedString("ReportProfilerTimedOut");
        case ProfilerState::LaunchFailed:
            return Line("ReportProfilerLaunchFailed", {run.detail});
        case ProfilerState::ExitedWithError:
            return Line("ReportProfilerExited", {run.detail});
        case ProfilerState::Crashed:
            return Line("ReportProfilerCrashed", {run.detail});
        case ProfilerState::OutputTooLarge:
            return Line("ReportProfilerTooLarge", {std::to_string(kDisplayReportLimit >> 20)});
    }
    return listedDevices ? std::nullopt
                         : std::optional(LocalizedString("ReportDisplayDevicesNone"));
}

std::string ControllerValue(ControllerField field, const DisplayController& device) {
    switch (field) {
        case ControllerField::Name:
            return OrNotReported(device.name);
        case ControllerField::Vendor:
            return OrNotReported(device.vendor);
        case ControllerField::VendorId:
            return OrNotReported(device.vendorId);
        case ControllerField::DeviceId:
            return OrNotReported(device.deviceId);
        case ControllerField::PciAddress:
            return OrNotReported(device.pciAddress);
        case ControllerField::Driver:
            return OrNotReported(device.driver);
        case ControllerField::Memory:
            return MemoryKind(device.memory);
        case ControllerField::DrivesScreen:
            break;  // the line's own key
    }
    return {};
}

void AddDisplayDevices(const Facts& facts, std::vector<std::string>& lines) {
    if (auto line = ProfilerLine(facts.profiler, !facts.displayControllers.empty())) {
        lines.push_back(std::move(*line));
    }
    for (const DisplayController& device : facts.displayControllers) {
        std::vector<std::string> values;
        for (const auto& entry : kControllerFields) {
            if (entry.field != ControllerField::DrivesScreen) {
                values.push_back(ControllerValue(entry.field, device));
            }
        }
        lines.push_back(Line(
            device.drivesScreen ? "ReportDisplayDeviceScreen" : "ReportDisplayDevice", values));
    }
}

// A card field's line; none for a field that another line tells.
std::optional<std::string> CardLine(CardField field, const CardFacts& card) {
    switch (field) {
        case CardField::Manufacturer:
            return Line("ReportVendor", {IdentityItem(card.vendor)});
        case CardField::Renderer:
            return Line("ReportRenderer", {IdentityItem(card.renderer)});
        case CardField::DriverVersion:
            return Line("ReportDriverVersion", {IdentityItem(card.driverVersion)});
        case CardField::VideoMemoryBytes:
            return Line("ReportVideoMemory", {VideoMemoryLine(card)});
        case CardField::Rendering:
            return Line("ReportRendering", {RenderingText(card.rendering)});
        case CardField::FeatureMask:
            return Line("ReportFeatureMask", {MaskText(card.featuresMask)});
        case CardField::VideoMemoryKind:  // in the video memory's line
        case CardField::RenderingSource:  // the window's rendering line does not say it
            break;
    }
    return std::nullopt;
}

std::string AssessmentLine(AssessmentField field, const Assessment& assessment) {
    switch (field) {
        case AssessmentField::Offscreen:
            return CheckLine("ReportHWOff", assessment.offscreen);
        case AssessmentField::Shadows:
            return CheckLine("ReportShadow", assessment.shadows);
        case AssessmentField::Lighting:
            return CheckLine("ReportHiResLight", assessment.lighting);
        case AssessmentField::AntiAliasing:
            return CheckLine("ReportAntiAlias", assessment.antiAliasing);
        case AssessmentField::Basic:
            return Line("ReportBasic", {SupportText(assessment.basic)});
        case AssessmentField::Advanced:
            return Line("ReportAdvanced", {SupportText(assessment.advanced)});
        case AssessmentField::Duo:
            break;
    }
    return Line("ReportDuo", {SupportText(assessment.duo)});
}

// Each cause and what to do about it.
void AddCauseLines(const std::vector<Cause>& causes, std::vector<std::string>& lines) {
    for (const Cause& cause : causes) {
        lines.push_back(Line("ReportCause", {CauseFoundText(cause)}));
        lines.push_back(Line("ReportWhatToDo", {CauseAdviceText(cause)}));
    }
}

// The lines of one probe of a card, from its identity to its mask, which closes them; why its
// result is not ready follows the rendering's line.
void AddCardLines(const CardFacts& card, const std::vector<Cause>& causes,
                  std::vector<std::string>& lines) {
    std::optional<std::string> mask;
    for (const auto& entry : kCardFields) {
        std::optional<std::string> line = CardLine(entry.field, card);
        if (entry.field == CardField::FeatureMask) {
            mask = std::move(line);
        } else if (line) {
            lines.push_back(std::move(*line));
        }
        if (entry.field == CardField::Rendering) {
            AddCauseLines(causes, lines);
        }
    }
    for (const auto& entry : kAssessmentFields) {
        lines.push_back(AssessmentLine(entry.field, card.assessment));
    }
    lines.push_back(std::move(*mask));
}

// The card's name, how to start a program there, and its own lines once checked, else what
// its check came to.
void AddOtherCard(const OtherCard& card, std::vector<std::string>& lines) {
    lines.push_back(Line("ReportOtherCard", {card.name}));
    lines.push_back(Line("ReportOtherCardStart", {HowToStartText(card)}));
    if (card.status == CardStatus::Checked) {
        AddCardLines(card.facts, card.causes, lines);
    } else {
        lines.push_back(Line("ReportOtherCardStatus", {CardStateText(card)}));
        AddCauseLines(card.causes, lines);
    }
}

}  // namespace

std::string VideoMemoryText(int64_t bytes) {
    return std::to_string(bytes / kBytesPerMegabyte) + " MB";
}

std::string VideoMemoryLine(const CardFacts& facts) {
    std::string first = VideoMemoryText(facts.videoMemoryBytes);
    if (!facts.videoMemoryKind) {
        return first;
    }
    const bool shared = *facts.videoMemoryKind == VideoMemoryKind::Shared;
    return StringWithFormat(LocalizedString(shared ? "VRAMShared" : "VRAMDedicated"), {first});
}

std::string RenderingText(Rendering rendering) {
    switch (rendering) {
        case Rendering::Hardware:
            return LocalizedString("RenderingHardware");
        case Rendering::Software:
            return LocalizedString("RenderingSoftware");
        case Rendering::Unknown:
            break;
    }
    return LocalizedString("IdentityUnknown");
}

namespace {

// A line of the program's and system's fields; none for a field that another line tells.
void AddSystemLine(SystemField field, const Facts& facts, std::vector<std::string>& lines) {
    switch (field) {
        case SystemField::Version:
            lines.push_back(Line("ReportTitle", {facts.programVersion}));
            return;
        case SystemField::OperatingSystem:
            lines.push_back(Line("ReportOperatingSystem", {OrNotReported(facts.operatingSystem),
                                                           OrNotReported(facts.kernelRelease)}));
            return;
        case SystemField::Kernel:  // in the operating system's line
            return;
        case SystemField::DisplaySystem:
            lines.push_back(DisplaySystemLine(facts.displaySystem));
            return;
    }
}

void AddMachineLines(MachineField field, const Facts& facts, std::vector<std::string>& lines) {
    switch (field) {
        case MachineField::Causes:  // under the rendering's line
            return;
        case MachineField::DisplayProfiler:
            AddDisplayDevices(facts, lines);
            return;
        case MachineField::DisplayControllers:  // with the profiler's line
            return;
        case MachineField::OtherCards:
            for (const OtherCard& card : facts.otherCards) {
                AddOtherCard(card, lines);
            }
            return;
    }
}

}  // namespace

std::vector<std::string> ReportLines(const Facts& facts) {
    std::vector<std::string> lines;
    for (const auto& entry : kSystemFields) {
        AddSystemLine(entry.field, facts, lines);
    }
    AddCardLines(facts, facts.causes, lines);
    for (const auto& entry : kMachineFields) {
        AddMachineLines(entry.field, facts, lines);
    }
    return lines;
}

std::string ReportText(const Facts& facts) {
    std::string text;
    for (const std::string& line : ReportLines(facts)) {
        text += line + "\n";
    }
    return text;
}
