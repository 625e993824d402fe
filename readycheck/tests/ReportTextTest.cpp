// The copied report's text, and what it reads from os-release and the display profiler's output.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ReportText.h"

namespace {

std::string Contents(const std::string& name) {
    std::ostringstream contents;
    contents << std::ifstream(std::string(REPORT_TEXTS "/") + name).rdbuf();
    return contents.str();
}

// Shadows and anti-aliasing fail in the second; it has no vendor, no rendering line, and the
// devices that its display report lists.
TEST(ReportText, MatchesTheExpectedTextLineForLine) {
    const std::string displayReport = Contents("partial.plist");
    const std::pair<const char*, ReportInputs> cases[] = {
        {"full-hardware.txt",
         {"1.0.0",
          "PRETTY_NAME=\"Debian\"\nNAME=\"Debian GNU/Linux\"\nVERSION_ID=12\nVERSION=\"12 "
          "(\\\"bookworm\\\")\"\n",
          "6.1.0-18-amd64", DisplaySystem::X11, "AMD",
          "AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49)",
          "4.6 (Compatibility Profile) Mesa 22.3.6", "16384 MB (dedicated)", "Hardware", 0x7F,
          std::vector<DisplayDeviceEntry>{}}},
        {"partial.txt",
         {"2.0", "# rolling\r\nNAME='Arch \\\"Linux\\\"'\r\nVERSION=\r\nVERSION_ID=\"2024.1\"\r\n",
          "6.5.0", DisplaySystem::X11UnderWayland, std::nullopt, "Mesa Intel(R) UHD 620",
          "2.1 Mesa 23.1.0", "1536 MB (shared with the system)", std::nullopt, 0x2B,
          ReadDisplayDevices(reinterpret_cast<const uint8_t*>(displayReport.data()),
                             displayReport.size())}},
    };
    for (const auto& [name, inputs] : cases) {
        EXPECT_EQ(ReportText(inputs), Contents(name)) << name;
    }
}

}  // namespace
