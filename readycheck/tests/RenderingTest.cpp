// The rendering line, its explanation and the summary's paragraph on software rendering.
#include "LocalizedStrings.h"
#include "Rendering.h"
#include "StandIns.h"

namespace {

struct RenderingCase {
    const char* name;
    std::vector<StandIn::Renderer> renderers;
    std::optional<std::string> renderer;
    const char* lineKey;
    bool software;
};

class RenderingLine : public StandInWindowTest,
                      public ::testing::WithParamInterface<RenderingCase> {};

TEST_P(RenderingLine, TellsWhoDrawsAndAddsTheSummaryParagraphForSoftware) {
    const RenderingCase& expected = GetParam();
    launch(0x1F, {.renderer = expected.renderer, .null = !expected.renderer},
           [&](StandIn::System& s) { s.renderers = expected.renderers; });
    EXPECT_EQ(field("oRendering")->stringValue(), LocalizedString(expected.lineKey));
    EXPECT_TRUE(expected.software ? Near(field("oRendering")->textColor(), kBad)
                                  : !field("oRendering")->textColor());
    EXPECT_EQ(outlet<Button>("oRenderingInfoButton")->isHidden(), !expected.software);
    ASSERT_TRUE(runReveal());
    const std::string paragraph = "\n\n" + LocalizedString("ResultSoftwareRendering");
    EXPECT_EQ(alerts[0].detail,
              LocalizedString("ResultGood_detail") + (expected.software ? paragraph : ""));
    controller->doInfoRendering(nullptr);
    ASSERT_EQ(alerts.size(), 2U);
    EXPECT_EQ(alerts[1].message, LocalizedString("SoftwareRendering"));
    EXPECT_EQ(alerts[1].detail, LocalizedString("SoftwareRendering_detail"));
}

INSTANTIATE_TEST_SUITE_P(
    Renderers, RenderingLine,
    ::testing::Values(RenderingCase{"AcceleratedInformationOutweighsTheName",
                                    {{256 << 20, 1, 1, false}},
                                    "llvmpipe (LLVM 15.0.6, 256 bits)",
                                    "RenderingHardware",
                                    false},
                      RenderingCase{"UnacceleratedMainRenderer",
                                    {{0, 0, 1, false}, {256 << 20, 1, 1, false}},
                                    "AMD Radeon RX 6600",
                                    "RenderingSoftware",
                                    true},
                      RenderingCase{
                          "NoInformationSoftwareName", {}, "softpipe", "RenderingSoftware", true},
                      RenderingCase{"NothingKnown", {}, std::nullopt, "IdentityUnknown", false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Rendering, KnowsTheSoftwareRenderersByName) {
    for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer",
                             "Mesa X11 swrast", "SwiftShader Device (Subzero)", "GDI Generic"}) {
        EXPECT_TRUE(NamesSoftwareRenderer(name)) << name;
    }
    for (const char* name : {"NVIDIA GeForce RTX 3060/PCIe/SSE2", "AMD Radeon Pro W6600",
                             "virgl (AMD Radeon)", "SVGA3D; build: RELEASE", ""}) {
        EXPECT_FALSE(NamesSoftwareRenderer(name)) << name;
    }
}

}  // namespace
