// Reading the kind of video memory from the profiler's output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "DisplayReport.h"

namespace {

std::optional<VideoMemoryKind> Read(const std::string& output) {
    return ReadVideoMemoryKind(reinterpret_cast<const uint8_t*>(output.data()), output.size());
}

// Each sample is named after the kind it tells: shared-, dedicated- or none-.
TEST(DisplayReport, KindFromEverySample) {
    for (const auto& sample : std::filesystem::directory_iterator(DISPLAY_REPORT_SAMPLES)) {
        std::ostringstream output;
        output << std::ifstream(sample.path(), std::ios::binary).rdbuf();
        const std::string name = sample.path().filename();
        const std::optional<VideoMemoryKind> kind = Read(output.str());
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

}  // namespace
