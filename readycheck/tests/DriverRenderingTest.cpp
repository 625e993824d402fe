// The program's window on Mesa's software drivers under Xvfb: llvmpipe, or the driver that
// GALLIUM_DRIVER names. Leaves screenshots of the window and its summary in the working directory.
#include <gmock/gmock.h>

#include <cstdlib>

#include "LocalizedStrings.h"
#include "ReportCopy.h"
#include "WindowFixture.h"

namespace {

using SoftwareDriver = WindowTest;

TEST_F(SoftwareDriver, WindowSaysTheProcessorDrawsAndTheSummaryAddsWhy) {
    const char* chosen = std::getenv("GALLIUM_DRIVER");
    const std::string driver = chosen != nullptr ? chosen : "llvmpipe";
    launch();
    EXPECT_NE(field("oCardName")->stringValue().find(driver), std::string::npos)
        << field("oCardName")->stringValue();
    EXPECT_EQ(field("oRendering")->stringValue(), LocalizedString("RenderingSoftware"));
    EXPECT_TRUE(Near(field("oRendering")->textColor(), kBad));
    EXPECT_FALSE(outlet<Button>("oRenderingInfoButton")->isHidden());
    const std::string shot = "readycheck-software-rendering-" + driver;
    whileNextAlertIsOpen = [&] { saveScreenshot(shot + "-summary.png", true); };
    ASSERT_TRUE(runReveal());
    const std::string& detail = alerts[0].detail;
    const std::string paragraph = "\n\n" + LocalizedString("ResultSoftwareRendering");
    ASSERT_GT(detail.size(), paragraph.size());
    EXPECT_EQ(detail.substr(detail.size() - paragraph.size()), paragraph);
    saveScreenshot(shot + "-window.png");
    EXPECT_THAT(CopyReportLines(*controller, false),
                ::testing::IsSupersetOf(std::vector<::testing::Matcher<std::string>>{
                    "Graphics card: " + field("oCardName")->stringValue(),
                    "Driver version: " + field("oDriverVersion")->stringValue(),
                    "Rendering: " + LocalizedString("RenderingSoftware"),
                    ::testing::MatchesRegex("Feature mask: 0x[0-9A-F][0-9A-F]")}));
}

}  // namespace
