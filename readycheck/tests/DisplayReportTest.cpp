// Reading the kind of video memory from the profiler's output.
#include <gtest/gtest.h>

#include <string>

#include "DisplayReport.h"

namespace {

std::optional<VideoMemoryKind> Read(const std::string& xml) {
    return ReadVideoMemoryKind(reinterpret_cast<const uint8_t*>(xml.data()), xml.size());
}

std::string Plist(const std::string& root) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + root +
           "</plist>";
}

std::string Entry(const std::string& vram) {
    return "<dict><key>_name</key><string>card</string><key>spdisplays_vram</key><string>" + vram +
           "</string></dict>";
}

std::string Report(const std::string& items,
                   const std::string& type = "<string>SPDisplaysDataType</string>") {
    return "<dict><key>_dataType</key>" + type + "<key>_items</key>" + items + "</dict>";
}

constexpr const char* kShared = "spdisplays_integrated_vram";
const std::string kOtherReport =
    "<dict><key>_dataType</key><string>SPUSBDataType</string><key>_items</key><array/></dict>";

TEST(DisplayReport, TheLastEntryWithAStringDecides) {
    EXPECT_EQ(Read(Plist("<array>" +
                         Report("<array>" + Entry(kShared) + Entry("8 GB") +
                                "<dict><key>_name</key><string>x</string></dict>" + "</array>") +
                         "</array>")),
              VideoMemoryKind::Dedicated);
    EXPECT_EQ(Read(Plist("<array>" +
                         Report("<array>" + Entry("8 GB") + Entry(kShared) +
                                "<string>not a dictionary</string>"
                                "<dict><key>spdisplays_vram</key><integer>3</integer></dict>"
                                "</array>") +
                         "</array>")),
              VideoMemoryKind::Shared);
    EXPECT_EQ(Read(Plist("<array>" +
                         Report("<array>" + Entry("spdisplays_integrated_VRAM") + "</array>") +
                         "</array>")),
              VideoMemoryKind::Dedicated)
        << "the comparison is exact";
}

TEST(DisplayReport, FindsTheFirstDisplayReportAmongOthers) {
    EXPECT_EQ(Read(Plist("<array><string>x</string>" + kOtherReport +
                         Report("<array>" + Entry(kShared) + "</array>") + "</array>")),
              VideoMemoryKind::Shared);
    EXPECT_EQ(Read(Plist("<array>" + Report("<dict/>") +
                         Report("<array>" + Entry(kShared) + "</array>") + "</array>")),
              std::nullopt)
        << "a later report is never looked at";
    EXPECT_EQ(Read(Plist("<array>" +
                         Report("<array>" + Entry("1 GB") + "</array>", "<integer>1</integer>") +
                         Report("<array>" + Entry(kShared) + "</array>") + "</array>")),
              VideoMemoryKind::Shared)
        << "a data type that is not a string does not match";
}

TEST(DisplayReport, AnythingElseTellsNothing) {
    for (const std::string& output : {
             std::string(), std::string("not a property list at all"),
             std::string("\x00\x01\x02", 3), std::string("bplist00"),
             Plist(Report("<array>" + Entry(kShared) + "</array>")),  // a dictionary root
             Plist("<array>" + kOtherReport + "</array>"),
             Plist("<array>" + Report("<array/>") + "</array>"),
             Plist("<array>" + Report("<array>" + Entry(kShared))),  // cut short
         }) {
        EXPECT_EQ(Read(output), std::nullopt) << output;
    }
    EXPECT_EQ(ReadVideoMemoryKind(nullptr, 0), std::nullopt);
}

TEST(DisplayReport, StringsHoldingANulByteAreComparedWhole) {
    const std::string nul("\0", 1);
    EXPECT_EQ(Read(Plist("<array>" +
                         Report("<array>" + Entry("x") + "</array>",
                                "<string>SPDisplaysDataType" + nul + "</string>") +
                         "</array>")),
              std::nullopt);
    EXPECT_EQ(
        Read(Plist("<array>" + Report("<array>" + Entry(kShared + nul) + "</array>") + "</array>")),
        VideoMemoryKind::Dedicated)
        << "not the integrated token";
}

TEST(DisplayReport, DeepNestingIsRefusedWithoutExhaustingTheStack) {
    std::string deep;
    for (int i = 0; i < 200000; ++i) {
        deep += "<array>";
    }
    EXPECT_EQ(Read(Plist(deep)), std::nullopt);
}

TEST(DisplayReport, OpeningBracketsWithoutEndAreScannedOnce) {
    // Quadratic scanning would take hours over this.
    EXPECT_EQ(Read(std::string(16U << 20, '<')), std::nullopt);
    EXPECT_EQ(Read(Plist(std::string(1U << 20, '<') + "<array>")), std::nullopt);
}

TEST(DisplayReport, AFiftyMegabyteOutputIsRead) {
    const std::string padding(50U << 20, 'x');
    const std::string big = "<dict><key>_name</key><string>" + padding + "</string></dict>";
    EXPECT_EQ(
        Read(Plist("<array>" + Report("<array>" + big + Entry(kShared) + "</array>") + "</array>")),
        VideoMemoryKind::Shared);
}

}  // namespace
