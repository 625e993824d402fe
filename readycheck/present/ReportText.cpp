#include "ReportText.h"

#include <cstdio>

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
    }
    return listedDevices ? std::nullopt
                         : std::optional(LocalizedString("ReportDisplayDevicesNone"));
}

void AddDisplayDevices(const Facts& facts, std::vector<std::string>& lines) {
    if (auto line = ProfilerLine(facts.profiler, !facts.displayControllers.empty())) {
        lines.push_back(std::move(*line));
    }
    for (const DisplayController& device : facts.displayControllers) {
        lines.push_back(
            Line(device.drivesScreen ? "ReportDisplayDeviceScreen" : "ReportDisplayDevice",
                 {OrNotReported(device.name), OrNotReported(device.vendor),
                  OrNotReported(device.vendorId), OrNotReported(device.deviceId),
                  OrNotReported(device.pciAddress), OrNotReported(device.driver),
                  MemoryKind(device.memory)}));
    }
}

// The lines of one probe of a card, from its identity to its mask.
void AddCardLines(const CardFacts& card, std::vector<std::string>& lines) {
    const Assessment& assessment = card.assessment;
    lines.insert(lines.end(), {Line("ReportVendor", {IdentityItem(card.vendor)}),
                               Line("ReportRenderer", {IdentityItem(card.renderer)}),
                               Line("ReportDriverVersion", {IdentityItem(card.driverVersion)}),
                               Line("ReportVideoMemory", {VideoMemoryLine(card)}),
                               Line("ReportRendering", {RenderingText(card.rendering)}),
                               CheckLine("ReportHWOff", assessment.offscreen),
                               CheckLine("ReportShadow", assessment.shadows),
                               CheckLine("ReportHiResLight", assessment.lighting),
                               CheckLine("ReportAntiAlias", assessment.antiAliasing),
                               Line("ReportBasic", {SupportText(assessment.basic)}),
                               Line("ReportAdvanced", {SupportText(assessment.advanced)}),
                               Line("ReportDuo", {SupportText(assessment.duo)}),
                               Line("ReportFeatureMask", {MaskText(card.featuresMask)})});
}

// The card's name, how to start a program there, and its own lines once checked, else what
// its check came to.
void AddOtherCard(const OtherCard& card, std::vector<std::string>& lines) {
    lines.push_back(Line("ReportOtherCard", {card.name}));
    lines.push_back(Line("ReportOtherCardStart", {HowToStartText(card)}));
    if (card.status == CardStatus::Checked) {
        AddCardLines(card.facts, lines);
    } else {
        lines.push_back(Line("ReportOtherCardStatus", {CardStateText(card)}));
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

std::vector<std::string> ReportLines(const Facts& facts) {
    std::vector<std::string> lines{
        Line("ReportTitle", {facts.programVersion}),
        Line("ReportOperatingSystem",
             {OrNotReported(facts.operatingSystem), OrNotReported(facts.kernelRelease)}),
        DisplaySystemLine(facts.displaySystem)};
    AddCardLines(facts, lines);
    AddDisplayDevices(facts, lines);
    for (const OtherCard& card : facts.otherCards) {
        AddOtherCard(card, lines);
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
