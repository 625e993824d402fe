// VXGetDriverOpenGLIdentity and VXGetDriverOpenGLFeatures on the fake driver.
#include <gtest/gtest.h>

#include "FakeGLPlatform.h"
#include "LastError.h"
#include "ProbeKit/ProbeKit.h"

using FakeDriver::Capable;
using FakeDriver::Expected;
using FakeDriver::Script;

namespace {

std::string IdentityStrings() {
    VXStringArray array = VXGetDriverOpenGLIdentity();
    std::string strings = array == nullptr ? "null" : "";
    for (int32_t i = 1; i <= VXStringArrayCount(array); ++i) {
        strings += std::string("|") + VXStringArrayGet(array, i);
    }
    VXStringArrayDispose(array);
    return strings;
}

TEST(DriverIdentity, ReadsTheStringsUnchangedOnTheMaskOfTheSwitch) {
    for (const VXBoolean prefer : {VXBoolean{0}, VXBoolean{1}}) {
        VXSetPreferGenericDriver(prefer);
        FakeDriver::Reset(Capable([](Script& s) { s.strings[GL_VENDOR] = ""; }));
        EXPECT_EQ(IdentityStrings(), "||Fake Renderer 9000|2.1 FAKE-1.0.2");
        EXPECT_EQ(FakeDriver::Log("choose"),
                  Expected(prefer != 0 ? "identity, generic allowed" : "identity, accelerated"));
        EXPECT_EQ(FakeDriver::Log("gl"), "glGetString 1F00; glGetString 1F01; glGetString 1F02");
        EXPECT_EQ(FakeDriver::Live(), 0) << "no format, window or context left, none current";
    }
    VXSetPreferGenericDriver(0);
}

TEST(DriverIdentity, NullOnEveryFailureWithNothingLeft) {
    for (const auto& [script, strings, code] :
         std::vector<std::tuple<Script, const char*, int32_t>>{
             {Capable([](Script& s) { s.canMeet = [](auto& w) { return w.size() < 3; }; }),
              "|Fake Vendor|Fake Renderer 9000|2.1 FAKE-1.0.2", 0},
             {Capable([](Script& s) { s.failing = "aglSetDrawable"; }), "null", kErrInternal},
             {Capable([](Script& s) { s.strings.erase(GL_VENDOR); }), "null", kErrInternal},
             {Capable([](Script& s) { s.strings.erase(GL_VERSION); }), "null", kErrInternal},
             {Capable([](Script& s) { s.throwing = "glGetString 1F02"; }), "null", -28482}}) {
        FakeDriver::Reset(script);
        gLastError = 0;
        EXPECT_EQ(IdentityStrings(), strings);
        EXPECT_EQ(gLastError, code);
        EXPECT_EQ(FakeDriver::Live(), 0);
    }
}

// The feature cache outlives a test: flipping the switch twice forces a probe with it false.
uint32_t ProbeAfresh(const Script& script) {
    VXSetPreferGenericDriver(1);
    VXGetDriverOpenGLFeatures();
    VXSetPreferGenericDriver(0);
    FakeDriver::Reset(script);
    return VXGetDriverOpenGLFeatures();
}

// Then cached, and probed again only when the switch differs from the one measured with.
TEST(FeatureProbe, ACapableDriverIsAskedEverythingInOrderOnce) {
    EXPECT_EQ(ProbeAfresh(Capable()), 0x3FU);
    EXPECT_EQ(FakeDriver::Log(), Expected("features"));
    FakeDriver::Reset(Capable());
    VXSetPreferGenericDriver(0);
    EXPECT_EQ(VXGetDriverOpenGLFeatures(), 0x3FU);
    EXPECT_EQ(FakeDriver::Log(), "");
    VXSetPreferGenericDriver(1);
    EXPECT_EQ(VXGetDriverOpenGLFeatures(), 0x3FU);
    EXPECT_EQ(FakeDriver::Log("choose"), Expected("features, generic allowed"));
    VXSetPreferGenericDriver(0);
}

// Rows: a driver, its mask, and the depth renderbuffer's storage call (none when the off-screen
// test does not create objects).
struct DriverCase {
    Script driver;
    uint32_t mask;
    const char* depthStorage;
};

Script Driver(const char* version, const char* extensions) {
    return Capable([=](Script& s) {
        s.strings[GL_VERSION] = version;
        s.strings[GL_EXTENSIONS] = extensions;
    });
}

#define SHADERS "GL_ARB_shading_language_100 GL_ARB_shader_objects GL_ARB_vertex_shader "
#define PACKED "glRenderbufferStorageEXT 8D41 88F0 456 258"
#define SEPARATE "glRenderbufferStorageEXT 8D41 81A6 456 258"

class FeatureRules : public ::testing::TestWithParam<DriverCase> {};

TEST_P(FeatureRules, GiveTheMaskFromTheRightPath) {
    EXPECT_EQ(ProbeAfresh(GetParam().driver), GetParam().mask);
    const std::string depth = GetParam().depthStorage;
    EXPECT_EQ(FakeDriver::Log("glRenderbufferStorageEXT 8D41 8"), depth);
    EXPECT_EQ(FakeDriver::Log("glDelete"), depth.empty() ? "" : Expected("fbo deleted"));
    EXPECT_EQ(FakeDriver::Live(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, FeatureRules,
    ::testing::Values(
        DriverCase{Capable([](Script& s) { s.stereo = GL_TRUE; }), 0x7F, PACKED},
        DriverCase{Driver("1.5.8", ""), 0x30, ""},
        DriverCase{
            Driver("ES", "GL_EXT_framebuffer_object GL_EXT_stencil_two_side GL_ARB_multisample"),
            0x32, ""},
        DriverCase{Capable([](Script& s) { s.strings.erase(GL_VERSION); }), 0x3A, ""},
        DriverCase{Driver("1.2", "GL_EXT_framebuffer_object"), 0x21, SEPARATE},
        DriverCase{Driver("1.1", "GL_EXT_framebuffer_object"), 0x20, ""},
        DriverCase{Driver("1.3", ""), 0x30, ""},
        DriverCase{Driver("1.5",
                          "GL_EXT_stencil_two_side GL_EXT_framebuffer_object "
                          "GL_EXT_packed_depth_stencil"),
                   0x37, PACKED},
        DriverCase{Driver("1.5", "GL_EXT_framebuffer_object GL_EXT_packed_depth_stencil"), 0x31,
                   SEPARATE},
        DriverCase{Driver("2.0", ""), 0x3A, ""},
        DriverCase{Capable([](Script& s) { s.stencilBits = 7; }), 0x19, SEPARATE},
        DriverCase{Driver("1.5", SHADERS "GL_ARB_fragment_shader"), 0x38, ""},
        DriverCase{Driver("1.5", SHADERS "GL_ARB_fragment_shaderX gl_arb_fragment_shader"), 0x30,
                   ""},
        DriverCase{Capable([](Script& s) { s.strings.erase(GL_EXTENSIONS); }), 0x3A, ""},
        DriverCase{Capable([](Script& s) { s.samples = 1; }), 0x2F, PACKED},
        DriverCase{Capable([](Script& s) { s.sampleBuffers = 0; }), 0x2F, PACKED},
        DriverCase{Capable([](Script& s) { s.framebufferStatus = 0x8CDD; }), 0x3A, PACKED},
        DriverCase{Capable([](Script& s) { s.missingEntryPoint = "glDeleteFramebuffersEXT"; }),
                   0x3A, ""}));

TEST(FeatureCache, AFailedProbeKeepsItsBitsForTheSameSwitch) {
    for (const auto& [script, mask, code] : std::vector<std::tuple<Script, uint32_t, int32_t>>{
             {Capable([](Script& s) { s.failing = "CreateNewWindow"; }), 0, kErrInternal},
             {Capable([](Script& s) { s.throwing = "glGetIntegerv 80A9"; }), 0x2F, -28482}}) {
        gLastError = 0;
        EXPECT_EQ(ProbeAfresh(script), mask);
        EXPECT_EQ(gLastError, code);
        EXPECT_EQ(FakeDriver::Live(), 0);
        FakeDriver::Reset(Capable());
        EXPECT_EQ(VXGetDriverOpenGLFeatures(), mask);
        EXPECT_EQ(FakeDriver::Log(), "") << "no second try";
    }
}

}  // namespace
