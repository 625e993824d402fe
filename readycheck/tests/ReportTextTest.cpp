// The copied report's text, and what it reads from os-release and the profiler's output.
#include <gtest/gtest.h>

#include "OsRelease.h"
#include "ReportText.h"

namespace {

struct ReportCase {
    ReportInputs inputs;
    std::vector<std::string> lines;
};

class ReportTextTable : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportTextTable, GivesEveryLineInOrder) {
    EXPECT_EQ(ReportLines(GetParam().inputs), GetParam().lines);
    std::string text;
    for (const auto& line : GetParam().lines) {
        text += line + "\n";
    }
    EXPECT_EQ(ReportText(GetParam().inputs), text);
}

const ReportCase kFullHardware{
    {"1.0.0", "Debian GNU/Linux 12 (bookworm)", "6.1.0-18-amd64", DisplaySystem::X11, "AMD",
     "AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49)",
     "4.6 (Compatibility Profile) Mesa 22.3.6", "16384 MB (dedicated)", "Hardware", 0x7F,
     std::vector<DisplayDeviceEntry>{}},
    {"ReadyCheck 1.0.0", "Operating system: Debian GNU/Linux 12 (bookworm), kernel 6.1.0-18-amd64",
     "Display system: X11", "Manufacturer: AMD",
     "Graphics card: AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49)",
     "Driver version: 4.6 (Compatibility Profile) Mesa 22.3.6",
     "Video memory: 16384 MB (dedicated)", "Rendering: Hardware",
     "Hardware off-screen rendering: pass", "Shadows: pass", "High-resolution lighting: pass",
     "Anti-aliasing: pass", "Basic edition: full support", "Advanced edition: full support",
     "Duo edition: full support", "Feature mask: 0x7F",
     "Display controllers: none reported by the display profiler"}};

// Shadows and anti-aliasing fail; no vendor, no distribution, no rendering line.
const ReportCase kPartial{
    {"2.0", "", "6.5.0", DisplaySystem::X11UnderWayland, std::nullopt, "Mesa Intel(R) UHD 620",
     "2.1 Mesa 23.1.0", "1536 MB (shared with the system)", std::nullopt, 0x2B,
     std::vector<DisplayDeviceEntry>{{"UHD Graphics 620", "i915", "spdisplays_integrated_vram"},
                                     {std::nullopt, std::nullopt, "8 GB"}}},
    {"ReadyCheck 2.0", "Operating system: not reported, kernel 6.5.0",
     "Display system: X11 under a Wayland compositor (XWayland)",
     "Manufacturer: Not reported by the driver", "Graphics card: Mesa Intel(R) UHD 620",
     "Driver version: 2.1 Mesa 23.1.0", "Video memory: 1536 MB (shared with the system)",
     "Hardware off-screen rendering: pass", "Shadows: fail", "High-resolution lighting: pass",
     "Anti-aliasing: fail", "Basic edition: limited support", "Advanced edition: limited support",
     "Duo edition: limited support", "Feature mask: 0x2B",
     "Display controller: UHD Graphics 620; driver: i915; memory: shared with the system",
     "Display controller: not reported; driver: not reported; memory: 8 GB"}};

INSTANTIATE_TEST_SUITE_P(Reports, ReportTextTable, ::testing::Values(kFullHardware, kPartial));

TEST(OsRelease, NamesTheDistributionAndItsVersion) {
    const std::vector<std::pair<std::string, std::string>> table{
        {"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
         "VERSION_ID=\"12\"\nVERSION=\"12 (bookworm)\"\n",
         "Debian GNU/Linux 12 (bookworm)"},
        {"# rolling\r\nNAME='Arch Linux'\r\nBUILD_ID=rolling\r\n", "Arch Linux"},
        {"NAME=Fedora\nVERSION_ID=39\n", "Fedora 39"},
        {"PRETTY_NAME=\"Say \\\"hi\\\" \\\\o/\"\n", "Say \"hi\" \\o/"},
        {"", ""}};
    for (const auto& [text, expected] : table) {
        EXPECT_EQ(DistributionFromOsRelease(text), expected) << text;
    }
}

std::vector<DisplayDeviceEntry> Devices(const std::string& root) {
    const std::string xml = "<plist version=\"1.0\">" + root + "</plist>";
    return ReadDisplayDevices(reinterpret_cast<const uint8_t*>(xml.data()), xml.size());
}

TEST(DisplayDevices, ListsEveryEntryOfTheFirstDisplayReport) {
    const std::string report =
        "<dict><key>_dataType</key><string>SPDisplaysDataType</string><key>_items</key><array>"
        "<dict><key>_name</key><string>A</string><key>sppci_model</key><string>M</string>"
        "<key>spdisplays_driver</key><string>amdgpu</string></dict><string>not an entry</string>"
        "<dict><key>sppci_model</key><string>B</string><key>spdisplays_vram</key>"
        "<string>spdisplays_integrated_vram</string></dict></array></dict>";
    const std::vector<DisplayDeviceEntry> expected{
        {"A", "amdgpu", std::nullopt}, {"B", std::nullopt, "spdisplays_integrated_vram"}};
    EXPECT_EQ(Devices("<array><dict/>" + report + report + "</array>"), expected);
    EXPECT_TRUE(Devices(report).empty()) << "the root must be an array";
}

}  // namespace
