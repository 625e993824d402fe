// The chooser's requests and the probing context's calls, in order, on the fake driver.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "DummyWindowGLContext.h"
#include "FakeGLPlatform.h"
#include "PixelFormat.h"

using FakeDriver::Expected;

namespace {

// Rows: the mask, the requests the driver refuses, the depth of its formats, and the section of
// every call made, the release of the format returned last.
TEST(Chooser, TriesEachRequestInOrderAndKeepsTheLastMet) {
    for (const auto& [mask, refused, depth, calls] :
         std::vector<std::tuple<unsigned int, const char*, GLint, const char*>>{
             {0x1F, ",73$|,2$", 23, "chooser, all five"},
             {0x1A, ",6$|,59,", 16, "chooser, off-screen"},
             {0x01, "choose 12,24", 16, "chooser, shallow only"},
             {0x01, "", 24, "chooser, deep"},
             {0x01, "describe", 16, "chooser, deep"},
             {0x1F, "choose", 16, "chooser, none"}}) {
        FakeDriver::Reset({.failing = refused, .depth = depth});
        GLPlatform::AGLPixelFormat format = VXChoosePixelFormat(mask);
        if (format != nullptr) {
            GLPlatform::aglDestroyPixelFormat(format);
        }
        EXPECT_EQ(FakeDriver::Log(), Expected(calls));
    }
}

// Rows: whether a generic format is allowed, the call that fails or throws, what the constructor
// throws (-1: std::bad_alloc), and the section of every call from construction to destruction.
TEST(ProbingContext, LeavesNothingBehindWhateverFails) {
    for (const auto& [generic, failing, throwing, thrown, calls] :
         std::vector<std::tuple<bool, const char*, const char*, long, const char*>>{
             {false, "", "", 0, "context"},
             {true, "", "", 0, "context, generic"},
             {false, "CreateNewWindow", "", -108, "context, no window"},
             {false, "choose", "", 1, "context, no format"},
             {false, "aglCreateContext", "", 10004, "context, none created"},
             {false, "aglSetDrawable", "", 10004, "context, no drawable"},
             {false, "aglSetCurrentContext", "", 10004, "context, not current"},
             {false, "", "aglCreateContext 1", -1, "context, no memory"}}) {
        FakeDriver::Reset({.failing = failing, .throwing = throwing});
        long caught = 0;
        try {
            const StDummyWindowGLContext context(nullptr, generic);
        } catch (long value) {
            caught = value;
        } catch (const std::bad_alloc&) {
            caught = -1;
        }
        EXPECT_EQ(caught, thrown);
        EXPECT_EQ(FakeDriver::Log(), Expected(calls));
    }
}

}  // namespace
