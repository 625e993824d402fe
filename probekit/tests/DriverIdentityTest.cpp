// VXGetDriverOpenGLIdentity on the fake driver.
#include <gtest/gtest.h>

#include "FakeGLPlatform.h"
#include "LastError.h"
#include "ProbeKit/ProbeKit.h"

using FakeDriver::AttributeWords;
using FakeDriver::Holds;

namespace {

struct Identity {
    VXStringArray array;
    ~Identity() { VXStringArrayDispose(array); }
};

void ExpectNothingLeft() {
    const FakeDriver::State& state = FakeDriver::Current();
    EXPECT_EQ(state.liveFormats, 0);
    EXPECT_EQ(state.liveContexts, 0);
    EXPECT_EQ(state.liveWindows, 0);
    EXPECT_EQ(state.current, nullptr);
}

TEST(DriverIdentity, ReturnsVendorRendererVersionUnchanged) {
    FakeDriver::Script script = FakeDriver::CapableDriver();
    script.strings[GL_RENDERER] = "  Padded Renderer  ";
    FakeDriver::Reset(script);
    const Identity identity{VXGetDriverOpenGLIdentity()};
    ASSERT_EQ(VXStringArrayCount(identity.array), 3);
    EXPECT_STREQ(VXStringArrayGet(identity.array, 1), "Fake Vendor");
    EXPECT_STREQ(VXStringArrayGet(identity.array, 2), "  Padded Renderer  ");
    EXPECT_STREQ(VXStringArrayGet(identity.array, 3), "2.1 FAKE-1.0.2");
    EXPECT_EQ(FakeDriver::CallsStartingWith("glGetString"),
              (std::vector<std::string>{"glGetString 0x1F00", "glGetString 0x1F01",
                                        "glGetString 0x1F02"}));
    ExpectNothingLeft();
}

TEST(DriverIdentity, AsksForMaskFifteenOrThirteenBySwitch) {
    for (const VXBoolean prefer : {VXBoolean{0}, VXBoolean{1}}) {
        VXSetPreferGenericDriver(prefer);
        FakeDriver::Reset(FakeDriver::CapableDriver());
        const Identity identity{VXGetDriverOpenGLIdentity()};
        const auto lists = FakeDriver::ChosenLists();
        ASSERT_GE(lists.size(), 2U);
        EXPECT_EQ(Holds(lists[1], GLPlatform::AGL_ACCELERATED), prefer == 0);
        bool stereo = false;
        for (const auto& list : lists) {
            stereo = stereo || Holds(list, GLPlatform::AGL_STEREO);
        }
        EXPECT_FALSE(stereo) << "identity asks for no stereo";
    }
    VXSetPreferGenericDriver(0);
}

TEST(DriverIdentity, EmptyStringsAreStillThreeStrings) {
    FakeDriver::Script script = FakeDriver::CapableDriver();
    script.strings[GL_VENDOR] = "";
    FakeDriver::Reset(script);
    const Identity identity{VXGetDriverOpenGLIdentity()};
    ASSERT_EQ(VXStringArrayCount(identity.array), 3);
    EXPECT_STREQ(VXStringArrayGet(identity.array, 1), "");
}

TEST(DriverIdentity, WithoutAChosenFormatTheContextsOwnIsUsed) {
    FakeDriver::Script script = FakeDriver::CapableDriver();
    script.canMeet = [](const AttributeWords& words) {
        return !Holds(words, GLPlatform::AGL_WINDOW);
    };
    FakeDriver::Reset(script);
    const Identity identity{VXGetDriverOpenGLIdentity()};
    EXPECT_EQ(VXStringArrayCount(identity.array), 3);
    ExpectNothingLeft();
}

TEST(DriverIdentity, EachFailureGivesNullAndInternalError) {
    const auto expectFailure = [](FakeDriver::Script script, const char* what) {
        FakeDriver::Reset(std::move(script));
        gLastError = 0;
        EXPECT_EQ(VXGetDriverOpenGLIdentity(), nullptr) << what;
        EXPECT_EQ(gLastError, kErrInternal) << what;
        ExpectNothingLeft();
    };
    FakeDriver::Script noWindow = FakeDriver::CapableDriver();
    noWindow.windowStatus = -1;
    expectFailure(noWindow, "window");
    FakeDriver::Script noFormat = FakeDriver::CapableDriver();
    noFormat.canMeet = [](const AttributeWords&) { return false; };
    expectFailure(noFormat, "format");
    FakeDriver::Script noContext = FakeDriver::CapableDriver();
    noContext.contextFails = true;
    expectFailure(noContext, "context");
    for (const GLenum name : std::initializer_list<GLenum>{GL_VENDOR, GL_RENDERER, GL_VERSION}) {
        FakeDriver::Script nullString = FakeDriver::CapableDriver();
        nullString.strings.erase(name);
        expectFailure(nullString, "null string");
    }
}

}  // namespace
