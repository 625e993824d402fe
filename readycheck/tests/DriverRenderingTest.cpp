// The program's window on Mesa's software drivers under Xvfb: llvmpipe, or the driver that
// GALLIUM_DRIVER names. Leaves screenshots of the window and its summary in the working directory.
#include <gmock/gmock.h>

#include <cstdlib>

#include "LocalizedStrings.h"
#include "WindowFixture.h"

namespace {

using SoftwareDriver = WindowTest;

TEST_F(SoftwareDriver, WindowSaysTheProcessorDrawsAndTheSummaryAddsWhy) {
    const char* chosen = std::getenv("GALLIUM_DRIVER");
    const std::string driver = chosen != nullptr ? chosen : "llvmpipe";
    launch();
    EXPECT_THAT(field("oCardName")->stringValue(), ::testing::HasSubstr(driver));
    EXPECT_EQ(field("oRendering")->stringValue(), LocalizedString("RenderingSoftware"));
    const std::string shot = "readycheck-software-rendering-" + driver;
    whileNextAlertIsOpen = [&] { saveScreenshot(shot + "-summary.png", true); };
    ASSERT_TRUE(runReveal());
    EXPECT_THAT(alerts[0].detail,
                ::testing::EndsWith("\n\n" + LocalizedString("ResultSoftwareRendering")));
    saveScreenshot(shot + "-window.png");
    EXPECT_THAT(copyReport(false),
                ::testing::IsSupersetOf(std::vector<::testing::Matcher<std::string>>{
                    "Rendering: " + LocalizedString("RenderingSoftware"),
                    ::testing::MatchesRegex("Feature mask: 0x[0-9A-F][0-9A-F]")}));
}

}  // namespace
