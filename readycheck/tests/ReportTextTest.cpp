// The copied report's text, and what it reads from os-release and the profiler's output.
#include <gtest/gtest.h>

#include "ReportText.h"

namespace {

struct ReportCase {
    ReportInputs inputs;
    std::vector<std::string> lines;
};

const ReportCase kFullHardware{
    {"1.0.0",
     "PRETTY_NAME=\"Debian\"\nNAME=\"Debian GNU/Linux\"\nVERSION_ID=12\nVERSION=\"12 "
     "(\\\"bookworm\\\")\"\n",
     "6.1.0-18-amd64", DisplaySystem::X11, "AMD",
     "AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49)",
     "4.6 (Compatibility Profile) Mesa 22.3.6", "16384 MB (dedicated)", "Hardware", 0x7F,
     std::vector<DisplayDeviceEntry>{}},
    {"ReadyCheck 1.0.0",
     "Operating system: Debian GNU/Linux 12 (\"bookworm\"), kernel 6.1.0-18-amd64",
     "Display system: X11", "Manufacturer: AMD",
     "Graphics card: AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49)",
     "Driver version: 4.6 (Compatibility Profile) Mesa 22.3.6",
     "Video memory: 16384 MB (dedicated)", "Rendering: Hardware",
     "Hardware off-screen rendering: pass", "Shadows: pass", "High-resolution lighting: pass",
     "Anti-aliasing: pass", "Basic edition: full support", "Advanced edition: full support",
     "Duo edition: full support", "Feature mask: 0x7F",
     "Display controllers: none reported by the display profiler"}};

// Shadows and anti-aliasing fail; no vendor, no rendering line, two devices.
const ReportCase kPartial{
    {"2.0", "# rolling\r\nNAME='Arch \\\"Linux\\\"'\r\nVERSION=\r\nVERSION_ID=\"2024.1\"\r\n",
     "6.5.0", DisplaySystem::X11UnderWayland, std::nullopt, "Mesa Intel(R) UHD 620",
     "2.1 Mesa 23.1.0", "1536 MB (shared with the system)", std::nullopt, 0x2B,
     std::vector<DisplayDeviceEntry>{{"UHD Graphics 620", "i915", "spdisplays_integrated_vram"},
                                     {std::nullopt, std::nullopt, "8 GB"}}},
    {"ReadyCheck 2.0", "Operating system: Arch \\\"Linux\\\" 2024.1, kernel 6.5.0",
     "Display system: X11 under a Wayland compositor (XWayland)",
     "Manufacturer: Not reported by the driver", "Graphics card: Mesa Intel(R) UHD 620",
     "Driver version: 2.1 Mesa 23.1.0", "Video memory: 1536 MB (shared with the system)",
     "Hardware off-screen rendering: pass", "Shadows: fail", "High-resolution lighting: pass",
     "Anti-aliasing: fail", "Basic edition: limited support", "Advanced edition: limited support",
     "Duo edition: limited support", "Feature mask: 0x2B",
     "Display controller: UHD Graphics 620; driver: i915; memory: shared with the system",
     "Display controller: not reported; driver: not reported; memory: 8 GB"}};

TEST(ReportText, GivesEveryLineInOrder) {
    for (const ReportCase& report : {kFullHardware, kPartial}) {
        EXPECT_EQ(ReportLines(report.inputs), report.lines);
    }
}

TEST(DisplayDevices, ListsEveryDictionaryEntryOfTheDisplayReport) {
    const std::string xml =
        "<plist><array><dict><key>_dataType</key><string>SPDisplaysDataType</string><key>_items"
        "</key><array><dict><key>sppci_model</key><string>B</string></dict><true/></array></dict>"
        "</array></plist>";
    EXPECT_EQ(ReadDisplayDevices(reinterpret_cast<const uint8_t*>(xml.data()), xml.size()),
              (std::vector<DisplayDeviceEntry>{{"B", std::nullopt, std::nullopt}}));
}

}  // namespace
