// The chooser's requests and the probing context's calls, in order, on the fake driver.
#include <gtest/gtest.h>

#include <algorithm>

#include "DummyWindowGLContext.h"
#include "FakeGLPlatform.h"
#include "PixelFormat.h"

using namespace GLPlatform;
using FakeDriver::Expected;
using FakeDriver::Words;

namespace {

bool Has(const Words& words, GLint word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Rows: mask, which requests the driver meets, the depth of its formats, the section of the
// lists tried, and which format is returned.
struct ChooserCase {
    unsigned int mask;
    std::function<bool(const Words&)> canMeet;
    GLint depth;
    const char* tries;
    int result;
};

class Chooser : public ::testing::TestWithParam<ChooserCase> {};

TEST_P(Chooser, TriesEachRequestInOrderAndKeepsTheLastMet) {
    FakeDriver::Script script;
    script.canMeet = GetParam().canMeet;
    script.depth = GetParam().depth;
    FakeDriver::Reset(script);
    AGLPixelFormat format = VXChoosePixelFormat(GetParam().mask);
    EXPECT_EQ(FakeDriver::Log("choose"), Expected(GetParam().tries));
    EXPECT_EQ(FakeDriver::FormatNumber(format), GetParam().result);
    EXPECT_EQ(FakeDriver::Live(), format != nullptr ? 1 : 0) << "the others are released";
    if (format != nullptr) {
        aglDestroyPixelFormat(format);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, Chooser,
    ::testing::Values(
        ChooserCase{0x1F, [](auto& w) { return !Has(w, AGL_ACCELERATED) && !Has(w, 59); }, 23,
                    "chooser, all five", 4},
        ChooserCase{0x0D, [](auto& w) { return w.back() != 2 && !Has(w, 13); }, 16,
                    "chooser, window stencil multisample", 3},
        ChooserCase{0x12, [](auto& w) { return !Has(w, AGL_STEREO); }, 16,
                    "chooser, off-screen stereo", 3},
        ChooserCase{0x01, [](auto& w) { return w[1] == 16; }, 16, "chooser, shallow only", 1},
        ChooserCase{0x01, [](auto&) { return true; }, 24, "chooser, deep", 1},
        ChooserCase{0x01, [](auto&) { return true; }, -1, "chooser, deep", 1},
        ChooserCase{0x1F, [](auto&) { return false; }, 16, "chooser, deep", 0}));

// Rows: the call that fails or throws, what the constructor throws (-1: std::bad_alloc), and
// every call made from construction to destruction.
struct ContextCase {
    const char* failing;
    const char* throwing;
    long thrown;
    std::string calls;
};

class ProbingContext : public ::testing::TestWithParam<ContextCase> {};

TEST_P(ProbingContext, LeavesNothingBehindWhateverFails) {
    FakeDriver::Script script;
    script.failing = GetParam().failing;
    script.throwing = GetParam().throwing;
    FakeDriver::Reset(script);
    long thrown = 0;
    try {
        const StDummyWindowGLContext context(nullptr, false);
        EXPECT_EQ(FakeDriver::Live(), 3) << "window, context, and the context current";
    } catch (long value) {
        thrown = value;
    } catch (const std::bad_alloc&) {
        thrown = -1;
    }
    EXPECT_EQ(thrown, GetParam().thrown);
    EXPECT_EQ(FakeDriver::Log(), GetParam().calls);
    EXPECT_EQ(FakeDriver::Live(), 0);
}

std::string Made(const std::string& then, bool tornDown = true) {
    return Expected("context made") + "; " + then + (tornDown ? Expected("context torn down") : "");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ProbingContext,
    ::testing::Values(
        ContextCase{"", "", 0, Made("aglSetDrawable window; aglSetCurrentContext; ")},
        ContextCase{"CreateNewWindow", "", -108, Expected("context, no window")},
        ContextCase{"choose", "", 1, Expected("context, no format")},
        ContextCase{"aglCreateContext", "", 10004, Made("DisposeWindow; aglGetError", false)},
        ContextCase{"aglSetCurrentContext", "", 10004,
                    Made("aglSetDrawable window; aglSetCurrentContext; aglGetError; ")},
        ContextCase{"", "aglCreateContext 1", -1, Made("DisposeWindow", false)}));

TEST(ProbingContext, MayAllowAGenericFormat) {
    FakeDriver::Reset();
    { const StDummyWindowGLContext context(nullptr, true); }
    EXPECT_EQ(FakeDriver::Log("choose"), "choose 4");
}

}  // namespace
