// "Copy Report" with the real ProbeKit on the driver of $DISPLAY, Mesa's llvmpipe under Xvfb.
#include <gmock/gmock.h>

#include "Application.h"
#include "ReportCopy.h"
#include "RunLoop.h"

namespace {

using ::testing::MatchesRegex;

TEST(CopyReportOnLlvmpipe, TellsTheDriversIdentityAndResults) {
    if (gtk_init_check(nullptr, nullptr) == FALSE) {
        GTEST_SKIP() << "no display";
    }
    auto controller = std::make_unique<Controller>();
    std::unique_ptr<LoadedApplication> application = LoadApplication(*controller);
    ASSERT_NE(application, nullptr);
    EXPECT_THAT(
        CopyReportLines(*controller, false),
        ::testing::IsSupersetOf(std::vector<::testing::Matcher<std::string>>{
            MatchesRegex("Graphics card: llvmpipe .+"), MatchesRegex("Driver version: .+ Mesa .+"),
            "Hardware off-screen rendering: pass", "Shadows: pass",
            "High-resolution lighting: pass", "Anti-aliasing: pass", "Duo edition: full support",
            "Feature mask: 0x3F"}));
    RunLoop::main().cancelDelayedCalls();
    application.reset();
    controller.reset();
    RunLoop::main().drainDeferred();  // where a runner still going releases itself
}

}  // namespace
