// What the program reads from the display profiler's output, and the copied report's text with
// what it reads from os-release.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "DisplayReport.h"
#include "ReportText.h"

namespace {

std::string Contents(const std::filesystem::path& path) {
    std::ostringstream contents;
    contents << std::ifstream(path, std::ios::binary).rdbuf();
    return contents.str();
}

std::optional<VideoMemoryKind> Read(const std::string& output) {
    return ReadVideoMemoryKind(reinterpret_cast<const uint8_t*>(output.data()), output.size());
}

// Each sample is named after the kind it tells: shared-, dedicated- or none-.
TEST(DisplayReport, KindFromEverySample) {
    for (const auto& sample : std::filesystem::directory_iterator(DISPLAY_REPORT_SAMPLES)) {
        const std::string name = sample.path().filename();
        const std::optional<VideoMemoryKind> kind = Read(Contents(sample.path()));
        const std::string told =
            !kind ? "none" : (kind == VideoMemoryKind::Shared ? "shared" : "dedicated");
        EXPECT_EQ(told + name.substr(name.find('-')), name);
    }
}

// Each nests 200,000 arrays, hiding their closing tags where XML does not see them: refused
// before the parser's recursion can exhaust the stack, in one pass.
TEST(DisplayReport, NestingHiddenFromTheElementStructureIsRefused) {
    for (const std::string level :
         {"<array>", "<array><!--</x>-->", "<array><?pi \"?></array>\"?>",
          "<array><string><![CDATA[</string></array>]]></string>", "<array><!DOCTYPE x </array>",
          "<array><!DOCTYPE x [</array>]>", "<array a=\"></array>\">"}) {
        std::string output = "<plist version=\"1.0\">";
        for (int i = 0; i < 200000; ++i) {
            output += level;
        }
        EXPECT_EQ(Read(output), std::nullopt) << level;
    }
    EXPECT_EQ(Read(std::string(16U << 20, '<')), std::nullopt);
}

// Shadows and anti-aliasing fail in the second; it has no vendor, no rendering line, and the
// devices that its display report lists.
TEST(ReportText, MatchesTheExpectedTextLineForLine) {
    const std::string displayReport = Contents(REPORT_TEXTS "/partial.plist");
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
          "2.1 Mesa 23.1.0", "1536 MB (shared with the system)", std::nullopt, 0x0B,
          ReadDisplayDevices(reinterpret_cast<const uint8_t*>(displayReport.data()),
                             displayReport.size())}},
    };
    for (const auto& [name, inputs] : cases) {
        EXPECT_EQ(ReportText(inputs), Contents(std::filesystem::path(REPORT_TEXTS) / name)) << name;
    }
}

}  // namespace
