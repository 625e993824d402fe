// Reading the kind of video memory from the profiler's output.
#include <gtest/gtest.h>

#include <string>

#include "DisplayReport.h"

namespace {

constexpr auto kShared = VideoMemoryKind::Shared;
constexpr auto kDedicated = VideoMemoryKind::Dedicated;
const std::string kIntegrated = "spdisplays_integrated_vram";

std::optional<VideoMemoryKind> Read(const std::string& output) {
    return ReadVideoMemoryKind(reinterpret_cast<const uint8_t*>(output.data()), output.size());
}
std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}
// A property list whose root array holds the given elements.
std::string Output(const std::string& elements) {
    return "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><array>" + elements +
           "</array></plist>";
}
std::string Entry(const std::string& vram, const std::string& extra = "") {
    return "<dict>" + extra + "<key>spdisplays_vram</key><string>" + vram + "</string></dict>";
}
std::string Report(const std::string& entries, const std::string& items = "array") {
    return "<dict><key>_dataType</key><string>SPDisplaysDataType</string><key>_items</key><" +
           items + ">" + entries + "</" + items + "></dict>";
}
// A report whose entry's deepest element lies at the given depth.
std::string ReportAtDepth(int depth) {
    const int arrays = depth - 5;  // plist, root, report, items, entry
    return Report(Entry(kIntegrated,
                        "<key>x</key>" + Repeat("<array>", arrays) + Repeat("</array>", arrays)));
}

TEST(DisplayReport, KindFromTheOutput) {
    const std::string usb = "<dict><key>_dataType</key><string>SPUSBDataType</string></dict>";
    const struct {
        const char* name;
        std::string output;
        std::optional<VideoMemoryKind> kind;
    } cases[] = {
        {"last string decides",
         Output(Report(Entry(kIntegrated) + Entry("8 GB") + "<dict><key>a</key><true/></dict>")),
         kDedicated},
        {"others skipped",
         Output(Report(Entry("8 GB") + Entry(kIntegrated) + "<string>x</string>" +
                       "<dict><key>spdisplays_vram</key><integer>3</integer></dict>")),
         kShared},
        {"first report", Output("<true/>" + usb + Report(Entry(kIntegrated)) + Report(Entry("1"))),
         kShared},
        {"its items not an array", Output(Report("", "dict") + Report(Entry(kIntegrated))),
         std::nullopt},
        {"NUL in the token", Output(Report(Entry(kIntegrated + '\0'))), kDedicated},
        {"cut short", Output(Report(Entry(kIntegrated))).substr(0, 150), std::nullopt},
        {"not XML", std::string("bplist00\0\x01", 10), std::nullopt},
        {"markup around it",
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"x.dtd\"><?pi \"?\"?>" +
             Output(Repeat("<!--<dict>-->", 70) + Report(Entry("<![CDATA[" + kIntegrated + "]]>")) +
                    Repeat("<?x <dict>?>", 70)),
         kShared},
        {"deepest allowed", Output(ReportAtDepth(64)), kShared},
        {"one level deeper", Output(ReportAtDepth(65)), std::nullopt},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Read(row.output), row.kind) << row.name;
    }
}

// Each nests 200,000 arrays, hiding their closing tags where XML does not see them: refused
// before the parser's recursion can exhaust the stack, in one pass.
TEST(DisplayReport, NestingHiddenFromTheElementStructureIsRefused) {
    for (const char* level :
         {"<array>", "<array><!--</x>-->", "<array><?pi \"?></array>\"?>",
          "<array><string><![CDATA[</string></array>]]></string>", "<array><!DOCTYPE x </array>",
          "<array><!DOCTYPE x [</array>]>", "<array a=\"></array>\">"}) {
        EXPECT_EQ(Read(Output(Repeat(level, 200000))), std::nullopt) << level;
    }
    EXPECT_EQ(Read(std::string(16U << 20, '<')), std::nullopt);
}

}  // namespace
