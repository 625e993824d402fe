// The chooser's requests and the probing context's calls, in order, on the fake driver.
#include <gtest/gtest.h>

#include <algorithm>

#include "DummyWindowGLContext.h"
#include "FakeGLPlatform.h"
#include "PixelFormat.h"

using namespace GLPlatform;
using FakeDriver::Words;

namespace {

bool Has(const Words& words, GLint word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Rows: mask, which requests the driver meets, the depth of its formats, the lists tried, and
// which format is returned.
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
    EXPECT_EQ(FakeDriver::Log("choose"), GetParam().tries);
    EXPECT_EQ(FakeDriver::FormatNumber(format), GetParam().result);
    EXPECT_EQ(FakeDriver::Live(), format != nullptr ? 1 : 0) << "the others are released";
    if (format != nullptr) {
        aglDestroyPixelFormat(format);
    }
}

const auto kAll = [](const Words&) { return true; };

INSTANTIATE_TEST_SUITE_P(
    Masks, Chooser,
    ::testing::Values(
        ChooserCase{
            0x1F, [](const Words& w) { return !Has(w, AGL_ACCELERATED) && !Has(w, 59); }, 23,
            "choose 12,16,4,51,80,5; choose 12,16,4,51,80,5,73; choose 12,16,4,51,80,5,13,8; "
            "choose 12,16,4,51,80,5,13,8,6; choose 12,16,4,51,80,5,13,8,6,59,55,1,56,2; "
            "choose 12,16,4,51,80,5,13,8,6,59,55,1,56,4; choose 12,24,4,51,80,5,13,8,6",
            4},
        ChooserCase{0x0D, [](const Words& w) { return w.back() != 2 && !Has(w, 13); }, 16,
                    "choose 12,16,4,51,80,5; choose 12,16,4,51,80,5,13,8; "
                    "choose 12,16,4,51,80,5,59,55,1,56,2; choose 12,16,4,51,80,5,59,55,1,56,4; "
                    "choose 12,24,4,51,80,5,59,55,1,56,4",
                    3},
        ChooserCase{0x12, [](const Words& w) { return !Has(w, AGL_STEREO); }, 16,
                    "choose 12,16,4,51,53; choose 12,16,4,51,53,73; choose 12,16,4,51,53,73,6; "
                    "choose 12,24,4,51,53,73",
                    3},
        ChooserCase{0x01, [](const Words& w) { return w[1] == 16; }, 16,
                    "choose 12,16,4,51,80,5; choose 12,24,4,51,80,5", 1},
        ChooserCase{0x01, kAll, 24, "choose 12,16,4,51,80,5", 1},
        ChooserCase{0x01, kAll, -1, "choose 12,16,4,51,80,5", 1},
        ChooserCase{0x1F, [](const Words&) { return false; }, 16, "choose 12,16,4,51,80,5", 0}));

// Rows: the call that fails or throws, what the constructor throws (-1: std::bad_alloc), and
// every call made from construction to destruction.
struct ContextCase {
    const char* failing;
    const char* throwing;
    long thrown;
    const char* calls;
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

#define MADE                                                                              \
    "CreateNewWindow D 0 40,40,100,100; GetMainDevice; choose 4,73; aglCreateContext 1; " \
    "destroyFormat 1; "
#define TORN_DOWN "aglSetCurrentContext null; aglSetDrawable null; aglDestroyContext; DisposeWindow"

INSTANTIATE_TEST_SUITE_P(
    Failures, ProbingContext,
    ::testing::Values(
        ContextCase{"", "", 0, MADE "aglSetDrawable window; aglSetCurrentContext; " TORN_DOWN},
        ContextCase{"CreateNewWindow", "", -108, "CreateNewWindow D 0 40,40,100,100"},
        ContextCase{"choose", "", 1,
                    "CreateNewWindow D 0 40,40,100,100; GetMainDevice; choose 4,73; DisposeWindow"},
        ContextCase{"aglCreateContext", "", 10004, MADE "DisposeWindow; aglGetError"},
        ContextCase{"aglSetDrawable", "", 10004,
                    MADE "aglSetDrawable window; aglGetError; " TORN_DOWN},
        ContextCase{"aglSetCurrentContext", "", 10004,
                    MADE "aglSetDrawable window; aglSetCurrentContext; aglGetError; " TORN_DOWN},
        ContextCase{"", "aglCreateContext 1", -1,
                    "CreateNewWindow D 0 40,40,100,100; GetMainDevice; choose 4,73; "
                    "aglCreateContext 1; destroyFormat 1; DisposeWindow"},
        ContextCase{"", "aglSetDrawable window", -1, MADE "aglSetDrawable window; " TORN_DOWN}));

TEST(ProbingContext, AGivenFormatIsTheCallersAndAGenericOneMayBeAllowed) {
    FakeDriver::Reset();
    { const StDummyWindowGLContext context(nullptr, true); }
    EXPECT_EQ(FakeDriver::Log("choose"), "choose 4");
    FakeDriver::Reset();
    AGLPixelFormat format = VXChoosePixelFormat(0x01);
    FakeDriver::Reset();
    { const StDummyWindowGLContext context = MakeProbingContext(format); }
    EXPECT_EQ(FakeDriver::Log(),
              "CreateNewWindow D 0 40,40,100,100; aglCreateContext 2; "
              "aglSetDrawable window; aglSetCurrentContext; destroyFormat 2; " TORN_DOWN);
}

}  // namespace
