// VXGetDriverOpenGLIdentity and VXGetDriverOpenGLFeatures on the fake driver.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "FakeGLPlatform.h"
#include "LastError.h"
#include "ProbeKit/ProbeKit.h"

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

// Rows: the switch, the driver, the strings read, the error recorded, and the section of every
// call made. When the chooser finds nothing, the context's own format still serves.
TEST(DriverIdentity, ReadsTheThreeStringsOrNothing) {
    constexpr const char* kRead = "|Fake Vendor|Fake Renderer 9000|2.1 FAKE-1.0.2";
    for (const auto& [prefer, driver, strings, code, calls] :
         std::vector<std::tuple<VXBoolean, Script, const char*, int32_t, const char*>>{
             {0, {.vendor = ""}, "||Fake Renderer 9000|2.1 FAKE-1.0.2", 0, "identity"},
             {1, {}, kRead, 0, "identity, generic allowed"},
             {0, {.failing = "choose 12"}, kRead, 0, "identity, own format"},
             {0, {.vendor = nullptr}, "null", kErrInternal, "identity"},
             {0, {.throwing = "glGetString 1F02"}, "null", kErrOutOfMemory, "identity"}}) {
        VXSetPreferGenericDriver(prefer);
        FakeDriver::Reset(driver);
        gLastError = 0;
        EXPECT_EQ(IdentityStrings(), strings);
        EXPECT_EQ(gLastError, code);
        EXPECT_EQ(FakeDriver::Log(), Expected(calls));
    }
    VXSetPreferGenericDriver(0);
}

// The feature cache outlives a test: flipping the switch twice forces a probe with it false. The
// first probe runs on a capable driver, whatever an earlier test left.
uint32_t ProbeAfresh(const Script& script) {
    FakeDriver::Reset();
    VXSetPreferGenericDriver(1);
    VXGetDriverOpenGLFeatures();
    VXSetPreferGenericDriver(0);
    FakeDriver::Reset(script);
    return VXGetDriverOpenGLFeatures();
}

// Probed again only when the switch differs from the one measured with.
TEST(FeatureProbe, ACapableDriverIsAskedEverythingInOrder) {
    EXPECT_EQ(ProbeAfresh({}), 0x3FU);
    EXPECT_EQ(FakeDriver::Log(), Expected("features"));
    FakeDriver::Reset();
    VXSetPreferGenericDriver(1);
    EXPECT_EQ(VXGetDriverOpenGLFeatures(), 0x3FU);
    EXPECT_EQ(FakeDriver::Log("choose"), Expected("features, generic allowed"));
    VXSetPreferGenericDriver(0);
}

#define FBO "GL_EXT_framebuffer_object "
#define FBO_PACKED FBO "GL_EXT_packed_depth_stencil "
#define TWO_SIDED "GL_EXT_stencil_two_side "
#define SHADERS "GL_ARB_shading_language_100 GL_ARB_shader_objects GL_ARB_vertex_shader "
// Extension names are whole tokens, compared case-sensitively.
#define NEAR_MISSES "GL_ARB_fragment_shaderX xGL_ARB_fragment_shader gl_arb_fragment_shader"
#define PACKED "glRenderbufferStorageEXT 8D41 88F0 456 258\n"
#define SEPARATE "glRenderbufferStorageEXT 8D41 81A6 456 258\n"

// Rows: a driver, its mask, the error recorded, and the depth renderbuffer's storage call (none
// when the off-screen test creates no objects). A failed probe is cached like any other.
TEST(FeatureProbe, RulesGiveTheMaskFromTheRightPath) {
    for (const auto& [driver, mask, code, depthStorage] :
         std::vector<std::tuple<Script, uint32_t, int32_t, const char*>>{
             {{.stereo = GL_TRUE}, 0x7F, 0, PACKED},
             {{.version = nullptr}, 0x3A, 0, ""},
             {{.version = "1.2", .extensions = FBO}, 0x21, 0, SEPARATE},
             {{.version = "1.1", .extensions = FBO}, 0x20, 0, ""},
             {{.version = "1.3", .extensions = ""}, 0x30, 0, ""},
             {{.version = "1.5", .extensions = TWO_SIDED FBO_PACKED}, 0x37, 0, PACKED},
             {{.version = "1.9", .extensions = FBO_PACKED}, 0x31, 0, SEPARATE},
             {{.version = "2.0", .extensions = nullptr}, 0x3A, 0, ""},
             {{.stencilBits = 7}, 0x19, 0, SEPARATE},
             {{.version = "1.5", .extensions = SHADERS "GL_ARB_fragment_shader"}, 0x38, 0, ""},
             {{.version = "1.9", .extensions = SHADERS NEAR_MISSES}, 0x30, 0, ""},
             {{.samples = 1}, 0x2F, 0, PACKED},
             {{.sampleBuffers = 0}, 0x2F, 0, PACKED},
             {{.failing = "^glCheckFramebufferStatusEXT"}, 0x3A, 0, PACKED},
             {{.failing = "dlsym glDeleteFramebuffersEXT"}, 0x3A, 0, ""},
             {{.failing = "CreateNewWindow"}, 0, kErrInternal, ""},
             {{.throwing = "glGetIntegerv 80A9"}, 0x2F, kErrOutOfMemory, PACKED}}) {
        SCOPED_TRACE(mask);
        gLastError = 0;
        EXPECT_EQ(ProbeAfresh(driver), mask);
        EXPECT_EQ(gLastError, code);
        EXPECT_EQ(FakeDriver::Log("glRenderbufferStorageEXT 8D41 8"), depthStorage);
        EXPECT_EQ(FakeDriver::Live(), 0);
        FakeDriver::Reset();
        EXPECT_EQ(VXGetDriverOpenGLFeatures(), mask);
        EXPECT_EQ(FakeDriver::Log(), "") << "cached";
    }
}

}  // namespace
