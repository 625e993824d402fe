// The chooser's order of requests and the probing context's order of calls, on the fake driver.
#include <gtest/gtest.h>

#include "DummyWindowGLContext.h"
#include "FakeGLPlatform.h"
#include "PixelFormat.h"

using namespace GLPlatform;
using FakeDriver::AttributeWords;
using FakeDriver::Holds;

namespace {

using Lists = std::vector<AttributeWords>;

AGLPixelFormat Choose(unsigned int mask, FakeDriver::Script script = {}) {
    FakeDriver::Reset(std::move(script));
    return VXChoosePixelFormat(mask);
}

void Release(AGLPixelFormat format) {
    if (format != nullptr) {
        aglDestroyPixelFormat(format);
    }
    EXPECT_EQ(FakeDriver::Current().liveFormats, 0) << "every format but the result is released";
}

TEST(PixelFormatChooser, TriesEachRequestInOrderOnACapableDriver) {
    FakeDriver::Script script;
    script.depthOf = [](const AttributeWords&) { return 16; };
    AGLPixelFormat format = Choose(0x1F, script);
    EXPECT_EQ(FakeDriver::ChosenLists(),
              (Lists{{12, 16, 4, 51, 80, 5},
                     {12, 16, 4, 51, 80, 5, 73},
                     {12, 16, 4, 51, 80, 5, 73, 13, 8},
                     {12, 16, 4, 51, 80, 5, 73, 13, 8, 6},
                     {12, 16, 4, 51, 80, 5, 73, 13, 8, 6, 59, 55, 1, 56, 2},
                     {12, 24, 4, 51, 80, 5, 73, 13, 8, 6, 59, 55, 1, 56, 2}}));
    EXPECT_EQ(FakeDriver::Current().liveFormats, 1);
    Release(format);
}

TEST(PixelFormatChooser, AnUnmetRequestIsLeftOutOfLaterTries) {
    FakeDriver::Script script;
    script.canMeet = [](const AttributeWords& words) {
        return !Holds(words, AGL_ACCELERATED) && !Holds(words, AGL_MULTISAMPLE);
    };
    AGLPixelFormat format = Choose(0x1F, script);
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(FakeDriver::ChosenLists(), (Lists{{12, 16, 4, 51, 80, 5},
                                                {12, 16, 4, 51, 80, 5, 73},
                                                {12, 16, 4, 51, 80, 5, 13, 8},
                                                {12, 16, 4, 51, 80, 5, 13, 8, 6},
                                                {12, 16, 4, 51, 80, 5, 13, 8, 6, 59, 55, 1, 56, 2},
                                                {12, 16, 4, 51, 80, 5, 13, 8, 6, 59, 55, 1, 56, 4},
                                                {12, 24, 4, 51, 80, 5, 13, 8, 6}}));
    Release(format);
}

TEST(PixelFormatChooser, FourSamplesAreTriedWhenTwoFail) {
    FakeDriver::Script script;
    script.canMeet = [](const AttributeWords& words) { return !Holds(words, AGL_SAMPLES_ARB, 2); };
    AGLPixelFormat format = Choose(kPixelFormatWindow | kPixelFormatMultisample, script);
    const Lists lists = FakeDriver::ChosenLists();
    ASSERT_EQ(lists.size(), 4U);
    EXPECT_EQ(lists[2], (AttributeWords{12, 16, 4, 51, 80, 5, 59, 55, 1, 56, 4}));
    EXPECT_EQ(lists[3], (AttributeWords{12, 24, 4, 51, 80, 5, 59, 55, 1, 56, 4}));
    Release(format);
}

TEST(PixelFormatChooser, MaskZeroAsksOffscreenAndOnlyUpgradesDepth) {
    AGLPixelFormat format = Choose(0);
    EXPECT_EQ(FakeDriver::ChosenLists(), (Lists{{12, 16, 4, 51, 53}, {12, 24, 4, 51, 53}}));
    Release(format);
}

TEST(PixelFormatChooser, UnmetBaseRequestTriesNothingElse) {
    FakeDriver::Script script;
    script.canMeet = [](const AttributeWords&) { return false; };
    EXPECT_EQ(Choose(0x1F, script), nullptr);
    EXPECT_EQ(FakeDriver::ChosenLists().size(), 1U);
    EXPECT_TRUE(FakeDriver::CallsStartingWith("aglDescribePixelFormat").empty());
}

TEST(PixelFormatChooser, DepthUpgradeOnlyBelowTwentyFourBits) {
    for (GLint depth : {24, 32}) {
        FakeDriver::Script script;
        script.depthOf = [depth](const AttributeWords&) { return depth; };
        AGLPixelFormat format = Choose(kPixelFormatWindow, script);
        EXPECT_EQ(FakeDriver::ChosenLists().size(), 1U) << depth;
        Release(format);
    }
    FakeDriver::Script failing;
    failing.describeFails = true;
    AGLPixelFormat format = Choose(kPixelFormatWindow, failing);
    EXPECT_EQ(FakeDriver::ChosenLists().size(), 1U) << "a failed description keeps the format";
    Release(format);
}

TEST(PixelFormatChooser, UnmetDepthUpgradeKeepsTheBestSoFar) {
    FakeDriver::Script script;
    script.canMeet = [](const AttributeWords& words) { return words[1] == 16; };
    AGLPixelFormat format = Choose(kPixelFormatWindow | kPixelFormatStencil, script);
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(FakeDriver::ChosenLists().size(), 3U);
    Release(format);
}

// The probing context.

std::vector<std::string> ContextCalls() {
    std::vector<std::string> calls;
    for (const std::string& call : FakeDriver::Current().calls) {
        if (call != "GetMainDevice") {
            calls.push_back(call);
        }
    }
    return calls;
}

TEST(ProbingContext, BuildsTheHiddenWindowAndTearsDownInReverse) {
    FakeDriver::Reset();
    AGLPixelFormat format = VXChoosePixelFormat(kPixelFormatWindow);
    FakeDriver::Current().calls.clear();
    {
        const StDummyWindowGLContext context = MakeProbingContext(format);
        EXPECT_NE(FakeDriver::Current().current, nullptr);
    }
    EXPECT_EQ(ContextCalls(), (std::vector<std::string>{
                                  "CreateNewWindow 13 0 40,40,100,100", "aglCreateContext",
                                  "aglSetDrawable window", "aglSetCurrentContext context",
                                  "aglDestroyPixelFormat", "aglSetCurrentContext null",
                                  "aglSetDrawable null", "aglDestroyContext", "DisposeWindow"}));
    EXPECT_EQ(FakeDriver::Current().current, nullptr);
    EXPECT_EQ(FakeDriver::Current().liveWindows + FakeDriver::Current().liveContexts +
                  FakeDriver::Current().liveFormats,
              0);
}

TEST(ProbingContext, WithoutAFormatChoosesAnAcceleratedOneAndReleasesIt) {
    FakeDriver::Reset();
    { const XDummyWindowGLContext context(nullptr, false); }
    EXPECT_EQ(FakeDriver::ChosenLists(), (Lists{{4, 73}}));
    const auto calls = ContextCalls();
    ASSERT_GE(calls.size(), 4U);
    EXPECT_EQ(calls[2], "aglCreateContext");
    EXPECT_EQ(calls[3], "aglDestroyPixelFormat") << "released right after context creation";
    EXPECT_EQ(FakeDriver::Current().liveFormats, 0);

    FakeDriver::Reset();
    { const XDummyWindowGLContext context(nullptr, true); }
    EXPECT_EQ(FakeDriver::ChosenLists(), (Lists{{4}}));
}

TEST(ProbingContext, AGivenFormatIsNeverReleasedByTheContext) {
    FakeDriver::Reset();
    AGLPixelFormat format = VXChoosePixelFormat(kPixelFormatWindow);
    { const XDummyWindowGLContext context(format, false); }
    EXPECT_EQ(FakeDriver::Current().liveFormats, 1);
    aglDestroyPixelFormat(format);
}

long ThrownBy(const FakeDriver::Script& script) {
    FakeDriver::Reset(script);
    try {
        const StDummyWindowGLContext context(nullptr, false);
    } catch (long value) {
        return value;
    }
    ADD_FAILURE() << "no exception";
    return 0;
}

TEST(ProbingContext, FailuresThrowTheirValueAndLeaveNothing) {
    FakeDriver::Script noWindow;
    noWindow.windowStatus = -108;
    EXPECT_EQ(ThrownBy(noWindow), -108);
    EXPECT_EQ(ContextCalls(), (std::vector<std::string>{"CreateNewWindow 13 0 40,40,100,100"}))
        << "no AGL call after a failed window";

    FakeDriver::Script noFormat;
    noFormat.canMeet = [](const AttributeWords&) { return false; };
    EXPECT_EQ(ThrownBy(noFormat), 1);
    EXPECT_EQ(FakeDriver::Current().liveWindows, 0);

    FakeDriver::Script noContext;
    noContext.contextFails = true;
    noContext.contextError = 10004;
    EXPECT_EQ(ThrownBy(noContext), 10004);
    const auto calls = ContextCalls();
    ASSERT_GE(calls.size(), 3U);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"aglDestroyPixelFormat", "DisposeWindow", "aglGetError"}));
    EXPECT_EQ(FakeDriver::Current().liveWindows + FakeDriver::Current().liveFormats, 0);
}

}  // namespace
