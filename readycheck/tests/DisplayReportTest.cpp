// Reading the kind of video memory from the profiler's output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DisplayReport.h"

namespace {

using Kind = std::optional<VideoMemoryKind>;
constexpr auto kShared = VideoMemoryKind::Shared;
constexpr auto kDedicated = VideoMemoryKind::Dedicated;
const std::string kIntegrated = "spdisplays_integrated_vram";
const std::string kNul("\0", 1);

Kind Read(const std::string& output) {
    return ReadVideoMemoryKind(reinterpret_cast<const uint8_t*>(output.data()), output.size());
}
std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}
std::string Plist(const std::string& root) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + root +
           "</plist>";
}
std::string Entry(const std::string& vram, const std::string& extra = "") {
    return "<dict>" + extra + "<key>spdisplays_vram</key><string>" + vram + "</string></dict>";
}
std::string Report(const std::string& items, const std::string& type = "SPDisplaysDataType") {
    return "<dict><key>_dataType</key><string>" + type + "</string><key>_items</key>" + items +
           "</dict>";
}
// The root array holding the given reports, in a property list.
std::string Output(const std::string& reports) {
    return Plist("<array>" + reports + "</array>");
}
std::string Items(const std::string& entries) {
    return "<array>" + entries + "</array>";
}
// An entry whose extra value nests arrays so that its deepest element is at the given depth.
std::string EntryAtDepth(int depth) {
    const int arrays = depth - 5;  // plist, root, report, items, entry
    return Entry(kIntegrated,
                 "<key>x</key>" + Repeat("<array>", arrays) + Repeat("</array>", arrays));
}

struct Case {
    const char* name;
    std::string output;
    Kind kind;
};

TEST(DisplayReport, KindFromTheOutput) {
    const std::string other = "<dict><key>_dataType</key><string>SPUSBDataType</string></dict>";
    const std::vector<Case> cases{
        {"last string decides",
         Output(Report(
             Items(Entry(kIntegrated) + Entry("8 GB") + "<dict><key>a</key><true/></dict>"))),
         kDedicated},
        {"others skipped",
         Output(Report(Items(Entry("8 GB") + Entry(kIntegrated) + "<string>x</string>" +
                             "<dict><key>spdisplays_vram</key><integer>3"
                             "</integer></dict>"))),
         kShared},
        {"exact comparison", Output(Report(Items(Entry("spdisplays_integrated_VRAM")))),
         kDedicated},
        {"first display report",
         Output("<string>x</string>" + other + Report(Items(Entry(kIntegrated))) +
                Report(Items(Entry("1 GB")))),
         kShared},
        {"its items not an array", Output(Report("<dict/>") + Report(Items(Entry("1 GB")))),
         std::nullopt},
        {"type not a string",
         Output("<dict><key>_dataType</key><integer>1</integer></dict>" +
                Report(Items(Entry(kIntegrated)))),
         kShared},
        {"NUL in the type", Output(Report(Items(Entry("1 GB")), "SPDisplaysDataType" + kNul)),
         std::nullopt},
        {"NUL in the token", Output(Report(Items(Entry(kIntegrated + kNul)))), kDedicated},
        {"no entry tells", Output(Report(Items("<dict/>"))), std::nullopt},
        {"dictionary root", Plist(Report(Items(Entry(kIntegrated)))), std::nullopt},
        {"no display report", Output(other), std::nullopt},
        {"cut short", Output(Report(Items(Entry(kIntegrated)))).substr(0, 150), std::nullopt},
        {"empty", "", std::nullopt},
        {"not XML", std::string("bplist00\0\x01", 10), std::nullopt},
        {"fifty megabytes",
         Output(Report(Items(Entry(std::string(50U << 20, 'x')) + Entry(kIntegrated)))), kShared},
        {"markup around it",
         "<?xml version='1.0'?><!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"PropertyList-1.0.dtd\"><?pi \"?\"?>" +
             Output(Repeat("<!--<dict>-->", 70) +
                    Report(Items(Entry("<![CDATA[" + kIntegrated + "]]>"))) +
                    Repeat("<?x <dict>?>", 70)),
         kShared},
        {"deepest allowed", Output(Report(Items(EntryAtDepth(64)))), kShared},
        {"one level deeper", Output(Report(Items(EntryAtDepth(65)))), std::nullopt},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(Read(row.output), row.kind) << row.name;
    }
}

// Each nests 200,000 arrays, hiding their closing tags where XML does not see them: refused
// before the parser's recursion can exhaust the stack, in one pass.
TEST(DisplayReport, NestingHiddenFromTheElementStructureIsRefused) {
    for (const std::string& level : {
             std::string("<array>"),
             std::string("<array><!--</x>-->"),
             std::string("<array><string><![CDATA[</string></array>]]></string>"),
             std::string("<array><?pi </array>?>"),
             std::string("<array><!DOCTYPE x </array>"),
             std::string("<array><!DOCTYPE x [</array>]>"),
             std::string("<array a=\"></array>\">"),
         }) {
        EXPECT_EQ(Read(Plist(Repeat(level, 200000))), std::nullopt) << level;
    }
    EXPECT_EQ(Read(std::string(16U << 20, '<')), std::nullopt);
}

}  // namespace
