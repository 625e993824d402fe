// What the tests' X server offers for drawing on a GPU: Xvfb, like any virtual X server, neither
// DRI3, DRI2 nor NVIDIA's GLX.
#include <gtest/gtest.h>

#include <cstdlib>

#include "XServerOffer.h"

namespace {

TEST(XServerOffer, XvfbOffersNoWayToAGpuAndNoServerAnswersNothing) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr) {
        GTEST_SKIP() << "no X display";
    }
    EXPECT_EQ(AskXServerOffer(""), XServerOffer());
    EXPECT_EQ(AskXServerOffer(display), XServerOffer());
    // A socket that is not there: no server answers.
    EXPECT_EQ(AskXServerOffer("/nonexistent/socket:0"), std::nullopt);
}

}  // namespace
