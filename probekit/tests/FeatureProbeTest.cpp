// VXGetDriverOpenGLFeatures on the fake driver: the rules for each bit and the cache.
#include <gtest/gtest.h>

#include "FakeGLPlatform.h"
#include "LastError.h"
#include "ProbeKit/ProbeKit.h"

using FakeDriver::AttributeWords;
using FakeDriver::Script;

namespace {

// The cache outlives a test: flipping the switch twice forces a probe with the switch false.
uint32_t ProbeAfresh(const Script& script) {
    VXSetPreferGenericDriver(1);
    VXGetDriverOpenGLFeatures();
    VXSetPreferGenericDriver(0);
    FakeDriver::Reset(script);
    return VXGetDriverOpenGLFeatures();
}

Script Driver(const char* version, const char* extensions) {
    Script script = FakeDriver::CapableDriver();
    script.strings[GL_VERSION] = version;
    script.strings[GL_EXTENSIONS] = extensions;
    return script;
}

bool Ran(const std::string& prefix) {
    return !FakeDriver::CallsStartingWith(prefix).empty();
}

constexpr const char* kShaderExtensions =
    "GL_ARB_shading_language_100 GL_ARB_shader_objects GL_ARB_vertex_shader "
    "GL_ARB_fragment_shader";

TEST(FeatureProbe, CapableDriverSetsEveryBitButStereo) {
    EXPECT_EQ(ProbeAfresh(FakeDriver::CapableDriver()), 0x3FU);
    Script stereo = FakeDriver::CapableDriver();
    stereo.stereo = GL_TRUE;
    EXPECT_EQ(ProbeAfresh(stereo), 0x7FU);
    const FakeDriver::State& state = FakeDriver::Current();
    EXPECT_EQ(state.liveFormats + state.liveContexts + state.liveWindows, 0);
    EXPECT_EQ(state.current, nullptr);
}

TEST(FeatureProbe, VersionIsTheLeadingNumber) {
    // 2.1 passes every threshold, with no extension at all.
    EXPECT_EQ(ProbeAfresh(Driver("2.1 NVIDIA-1.5.18", "")) & 0x1AU, 0x1AU);
    // 1.5.8 reads as 1.5: no shaders without the extensions, but multisample by version.
    EXPECT_EQ(ProbeAfresh(Driver("1.5.8", "")) & 0x1AU, 0x10U);
    // No number: every threshold fails; the extensions alone decide.
    EXPECT_EQ(ProbeAfresh(Driver("OpenGL ES 3.2", "")), 0x20U);
    EXPECT_FALSE(Ran("dlsym"));
    EXPECT_EQ(ProbeAfresh(Driver("OpenGL ES 3.2", "GL_EXT_stencil_two_side GL_ARB_multisample")),
              0x32U);
    Script noVersion = FakeDriver::CapableDriver();
    noVersion.strings.erase(GL_VERSION);
    EXPECT_EQ(ProbeAfresh(noVersion), 0x3AU) << "a null version is 0.0";
}

TEST(FeatureProbe, ThresholdsAreSinglePrecision) {
    ProbeAfresh(Driver("1.2", "GL_EXT_framebuffer_object"));
    EXPECT_TRUE(Ran("glCheckFramebufferStatusEXT")) << "exactly 1.2 runs the off-screen test";
    ProbeAfresh(Driver("1.1", "GL_EXT_framebuffer_object"));
    EXPECT_FALSE(Ran("dlsym")) << "1.1 does not, even with the extension";
    EXPECT_EQ(ProbeAfresh(Driver("1.3", "")) & kFeatureMultisample, kFeatureMultisample);
    EXPECT_EQ(ProbeAfresh(Driver("1.2", "")) & kFeatureMultisample, 0U);
    EXPECT_EQ(ProbeAfresh(Driver("1.2", "GL_ARB_multisample")) & kFeatureMultisample,
              kFeatureMultisample);
}

TEST(FeatureProbe, ExtensionsMatchWholeNamesOnly) {
    EXPECT_EQ(ProbeAfresh(Driver("1.5", kShaderExtensions)) & kFeatureShaders, kFeatureShaders)
        << "first and last names of the list are found";
    EXPECT_EQ(ProbeAfresh(Driver("1.5",
                                 "GL_ARB_shading_language_100 GL_ARB_shader_objectsX "
                                 "GL_ARB_vertex_shader GL_ARB_fragment_shader")) &
                  kFeatureShaders,
              0U);
    EXPECT_EQ(ProbeAfresh(Driver("1.5",
                                 "GL_ARB_shading_language_100 gl_arb_shader_objects "
                                 "GL_ARB_vertex_shader GL_ARB_fragment_shader")) &
                  kFeatureShaders,
              0U)
        << "case-sensitive";
    EXPECT_EQ(ProbeAfresh(Driver("1.5",
                                 "GL_ARB_shading_language_100 GL_ARB_shader_objects "
                                 "GL_ARB_vertex_shader")) &
                  kFeatureShaders,
              0U)
        << "three of four";
    Script noList = FakeDriver::CapableDriver();
    noList.strings[GL_VERSION] = "1.5";
    noList.strings.erase(GL_EXTENSIONS);
    EXPECT_EQ(ProbeAfresh(noList), 0x30U);
}

TEST(FeatureProbe, StencilNeedsEightBits) {
    Script seven = FakeDriver::CapableDriver();
    seven.stencilBits = 7;
    EXPECT_EQ(ProbeAfresh(seven) & 0x22U, 0U);
    EXPECT_EQ(FakeDriver::CallsStartingWith("glRenderbufferStorageEXT 0x8D41 0x81A6").size(), 1U)
        << "without two-sided stencil the depth buffer takes the separate path";
    EXPECT_EQ(ProbeAfresh(Driver("1.5", "")) & 0x22U, 0x20U);
    EXPECT_EQ(ProbeAfresh(Driver("1.5", "GL_EXT_stencil_two_side")) & 0x22U, 0x22U);
    EXPECT_EQ(ProbeAfresh(Driver("2.0", "")) & 0x22U, 0x22U);
}

std::vector<std::string> FramebufferCalls() {
    std::vector<std::string> calls;
    for (const std::string& call : FakeDriver::Current().calls) {
        if (call.rfind("gl", 0) == 0 && call.find("EXT") != std::string::npos) {
            calls.push_back(call);
        }
    }
    return calls;
}

TEST(FeatureProbe, PackedPathAttachesOneBufferTwice) {
    EXPECT_EQ(ProbeAfresh(FakeDriver::CapableDriver()) & 0x05U, 0x05U);
    EXPECT_EQ(FakeDriver::CallsStartingWith("dlsym").size(), 9U);
    EXPECT_EQ(
        FramebufferCalls(),
        (std::vector<std::string>{
            "glGenFramebuffersEXT", "glBindFramebufferEXT 0x8D40 100", "glGenRenderbuffersEXT",
            "glBindRenderbufferEXT 0x8D41 1", "glRenderbufferStorageEXT 0x8D41 0x1907 1110x600",
            "glFramebufferRenderbufferEXT 0x8D40 0x8CE0 0x8D41 1", "glGenRenderbuffersEXT",
            "glBindRenderbufferEXT 0x8D41 2", "glRenderbufferStorageEXT 0x8D41 0x88F0 1110x600",
            "glFramebufferRenderbufferEXT 0x8D40 0x8D00 0x8D41 2",
            "glFramebufferRenderbufferEXT 0x8D40 0x8D20 0x8D41 2",
            "glCheckFramebufferStatusEXT 0x8D40", "glDeleteRenderbuffersEXT 1",
            "glDeleteRenderbuffersEXT 2", "glDeleteFramebuffersEXT 100",
            "glBindFramebufferEXT 0x8D40 0"}));
}

TEST(FeatureProbe, SeparatePathHasNoStencilAttachment) {
    Script noPacked = Driver("2.1", "GL_EXT_framebuffer_object");
    noPacked.framebufferStencilBits = 0;
    EXPECT_EQ(ProbeAfresh(noPacked) & 0x05U, 0x01U);
    EXPECT_EQ(FakeDriver::CallsStartingWith("glFramebufferRenderbufferEXT"),
              (std::vector<std::string>{"glFramebufferRenderbufferEXT 0x8D40 0x8CE0 0x8D41 1",
                                        "glFramebufferRenderbufferEXT 0x8D40 0x8D00 0x8D41 2"}));
    EXPECT_EQ(FakeDriver::CallsStartingWith("glRenderbufferStorageEXT").back(),
              "glRenderbufferStorageEXT 0x8D41 0x81A6 1110x600");
}

TEST(FeatureProbe, FramebufferIsCleanedUpWhateverItsStatus) {
    Script incomplete = FakeDriver::CapableDriver();
    incomplete.framebufferStatus = 0x8CDD;  // unsupported
    EXPECT_EQ(ProbeAfresh(incomplete) & 0x05U, 0U);
    EXPECT_EQ(FakeDriver::CallsStartingWith("glDeleteRenderbuffersEXT").size(), 2U);
    EXPECT_EQ(FakeDriver::CallsStartingWith("glDeleteFramebuffersEXT").size(), 1U);
    EXPECT_EQ(FakeDriver::CallsStartingWith("glBindFramebufferEXT").back(),
              "glBindFramebufferEXT 0x8D40 0");
}

TEST(FeatureProbe, AMissingEntryPointSkipsTheTestAfterAllNineLookups) {
    Script missing = FakeDriver::CapableDriver();
    missing.missingEntryPoints = {"glGenFramebuffersEXT"};
    EXPECT_EQ(ProbeAfresh(missing) & 0x05U, 0U);
    EXPECT_EQ(FakeDriver::CallsStartingWith("dlsym").size(), 9U);
    EXPECT_FALSE(Ran("glGenRenderbuffersEXT"));
}

TEST(FeatureProbe, MultisampleNeedsMoreThanOneSample) {
    Script one = FakeDriver::CapableDriver();
    one.samples = 1;
    EXPECT_EQ(ProbeAfresh(one) & kFeatureMultisample, 0U);
    EXPECT_TRUE(Ran("glEnable 0x809D"));
    Script none = FakeDriver::CapableDriver();
    none.sampleBuffers = 0;
    EXPECT_EQ(ProbeAfresh(none) & kFeatureMultisample, 0U);
}

TEST(FeatureProbe, CacheAnswersWithoutTouchingTheDriver) {
    const uint32_t first = ProbeAfresh(FakeDriver::CapableDriver());
    FakeDriver::Current().calls.clear();
    EXPECT_EQ(VXGetDriverOpenGLFeatures(), first);
    VXSetPreferGenericDriver(0);  // the value it already has
    EXPECT_EQ(VXGetDriverOpenGLFeatures(), first);
    EXPECT_TRUE(FakeDriver::Current().calls.empty());

    VXSetPreferGenericDriver(1);
    VXGetDriverOpenGLFeatures();
    const auto lists = FakeDriver::ChosenLists();
    ASSERT_GE(lists.size(), 2U);
    EXPECT_FALSE(FakeDriver::Holds(lists[1], GLPlatform::AGL_ACCELERATED)) << "mask 29";
    FakeDriver::Current().calls.clear();
    VXSetPreferGenericDriver(0);
    VXGetDriverOpenGLFeatures();
    EXPECT_TRUE(FakeDriver::Holds(FakeDriver::ChosenLists().at(1), GLPlatform::AGL_ACCELERATED))
        << "mask 31";
}

TEST(FeatureProbe, AFailedContextCachesZero) {
    Script broken = FakeDriver::CapableDriver();
    broken.windowStatus = -1;
    gLastError = 0;
    EXPECT_EQ(ProbeAfresh(broken), 0U);
    EXPECT_EQ(gLastError, kErrInternal);
    FakeDriver::Reset(FakeDriver::CapableDriver());
    EXPECT_EQ(VXGetDriverOpenGLFeatures(), 0U);
    EXPECT_TRUE(FakeDriver::Current().calls.empty()) << "no second try with the same switch";
}

}  // namespace
