#include "ReportText.h"

#include <cstdio>

#include "LocalizedStrings.h"
#include "OsRelease.h"
#include "StringFormat.h"
#include "Verdicts.h"

namespace {

constexpr const char* kSharedVRAM = "spdisplays_integrated_vram";

std::string Line(const std::string& key, const std::vector<std::string>& arguments) {
    return StringWithFormat(LocalizedString(key), arguments);
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

void AddDisplayDevices(const std::optional<std::vector<DisplayDeviceEntry>>& devices,
                       std::vector<std::string>& lines) {
    if (!devices) {
        lines.push_back(LocalizedString("ReportDisplayDevicesPending"));
    } else if (devices->empty()) {
        lines.push_back(LocalizedString("ReportDisplayDevicesNone"));
    }
    for (const DisplayDeviceEntry& device : devices.value_or(std::vector<DisplayDeviceEntry>{})) {
        lines.push_back(Line(
            "ReportDisplayDevice",
            {OrNotReported(device.name), OrNotReported(device.driver), MemoryKind(device.vram)}));
    }
}

}  // namespace

std::vector<std::string> ReportLines(const ReportInputs& in) {
    const int32_t mask = in.featuresMask;
    std::vector<std::string> lines{
        Line("ReportTitle", {in.programVersion}),
        Line("ReportOperatingSystem", {OrNotReported(DistributionFromOsRelease(in.osRelease)),
                                       OrNotReported(in.kernelRelease)}),
        DisplaySystemLine(in.displaySystem),
        Line("ReportVendor", {IdentityItem(in.vendor)}),
        Line("ReportRenderer", {IdentityItem(in.renderer)}),
        Line("ReportDriverVersion", {IdentityItem(in.driverVersion)}),
        Line("ReportVideoMemory", {in.videoMemoryLine})};
    if (in.renderingLine) {
        lines.push_back(Line("ReportRendering", {*in.renderingLine}));
    }
    lines.insert(lines.end(),
                 {CheckLine("ReportHWOff", Verdicts::offscreenPasses(mask)),
                  CheckLine("ReportShadow", Verdicts::shadowsPass(mask)),
                  CheckLine("ReportHiResLight", Verdicts::lightingPasses(mask)),
                  CheckLine("ReportAntiAlias", Verdicts::antiAliasingPasses(mask)),
                  Line("ReportBasic", {LocalizedString("Report" + Verdicts::basicImage(mask))}),
                  Line("ReportAdvanced", {LocalizedString("Report" + Verdicts::basicImage(mask))}),
                  Line("ReportDuo", {LocalizedString("Report" + Verdicts::duoImage(mask))}),
                  Line("ReportFeatureMask", {MaskText(mask)})});
    AddDisplayDevices(in.displayDevices, lines);
    return lines;
}

std::string ReportText(const ReportInputs& inputs) {
    std::string text;
    for (const std::string& line : ReportLines(inputs)) {
        text += line + "\n";
    }
    return text;
}
