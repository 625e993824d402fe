// The timed reveal, the verdicts, the rendering line and summary, the information alerts and the
// window actions.
#include <gmock/gmock.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <numeric>

#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "StandIns.h"

namespace {

constexpr const char* kLightingPage = READYCHECK_MAKER_URL "/scenegrade/lighting_and_shadows.html";
constexpr const char* kComparisonPage =
    READYCHECK_MAKER_URL "/scenegrade/version_3_features_table.html";
constexpr const char* kChecks[] = {"HWOff", "Shadow", "HiResLight", "AntiAlias"};
constexpr const char* kMarks[] = {"oHWOffCheck", "oShadowCheck", "oHiResLightCheck",
                                  "oAntiAliasCheck"};
constexpr const char* kVerdicts[] = {"oBasicCircle", "oAdvancedCircle", "oDuoCircle"};
constexpr const char* kGreen = "GreenCircle";
constexpr const char* kHalf = "HalfGreenCircle";
constexpr const char* kLimited = "SignificantLimitations";
constexpr const char* kHardware = "RenderingHardware";
constexpr const char* kSoftware = "RenderingSoftware";

struct Expected {
    uint32_t mask;
    std::array<bool, 4> checks;
    const char* basic;
    const char* duo;
    const char* summary;
    // The accelerated flag outweighs the renderer's name; without information, the name decides.
    const char* rendering = kHardware;
    std::optional<std::string> renderer = "Stand-in Renderer";
    std::vector<StandIn::Renderer> renderers = {};
    // The recorded machine whose evidence explains the result, and what the summary says of it.
    const char* machine = "intel-igpu";
    const char* cause = nullptr;
};

class Reveal : public StandInWindowTest, public ::testing::WithParamInterface<Expected> {};

TEST_P(Reveal, ShowsMarksVerdictsAndSummaryForTheMask) {
    const Expected& expected = GetParam();
    if (expected.renderer) {
        system.identity->at(1) = *expected.renderer;
    } else {
        system.identity.reset();
    }
    system.renderers = expected.renderers;
    system.evidenceMachine = expected.machine;
    launch(expected.mask);
    const bool software = std::string(expected.rendering) == kSoftware;
    EXPECT_EQ(field("oRendering")->stringValue(), LocalizedString(expected.rendering));
    EXPECT_TRUE(software ? Near(field("oRendering")->textColor(), kBad)
                         : !field("oRendering")->textColor());
    EXPECT_EQ(outlet<Button>("oRenderingInfoButton")->isHidden(), !software);
    const Font captionFont = field("oHWOffLabel")->font();
    const Font markFont = field(kMarks[0])->font();
    ASSERT_NE(markFont, captionFont);
    ASSERT_TRUE(runReveal());
    for (std::size_t i = 0; i < 4; ++i) {
        const bool passed = expected.checks[i];
        TextField* mark = field(kMarks[i]);
        EXPECT_EQ(mark->stringValue(), passed ? "\u2611" : "\u2612") << kMarks[i];
        EXPECT_EQ(mark->font(), markFont) << "drawn in the mark field's own font";
        EXPECT_TRUE(Near(mark->textColor(), passed ? kGood : kBad)) << kMarks[i];
        TextField* caption = field(("o" + std::string(kChecks[i]) + "Label").c_str());
        EXPECT_EQ(caption->font(), passed ? captionFont : ConvertFontToHaveTrait(captionFont, 2));
        EXPECT_TRUE(passed ? !caption->textColor() : Near(caption->textColor(), kBad));
    }
    EXPECT_EQ(outlet<ImageView>(kVerdicts[0])->imageName(), expected.basic);
    EXPECT_EQ(outlet<ImageView>(kVerdicts[1])->imageName(), expected.basic);
    EXPECT_EQ(outlet<ImageView>(kVerdicts[2])->imageName(), expected.duo);
    EXPECT_EQ(outlet<Button>("oDuoBangButton")->isHidden(), std::string(expected.duo) != kLimited);
    ASSERT_EQ(alerts.size(), 1U);
    // Software rendering is never called ready.
    EXPECT_EQ(alerts[0].message,
              LocalizedString(software ? "ResultSoftwareRenderingTitle" : expected.summary));
    EXPECT_EQ(alerts[0].detail,
              LocalizedString(std::string(expected.summary) + "_detail") +
                  (software ? "\n\n" + LocalizedString("ResultSoftwareRendering") : "") +
                  (expected.cause != nullptr ? std::string("\n\n") + expected.cause : ""));
}

const Expected kMasks[] = {
    {0x7F, {1, 1, 1, 1}, kGreen, kGreen, "ResultGood", kHardware, "llvmpipe", {{1 << 28}}},
    {0x0F,
     {1, 1, 1, 0},
     kHalf,
     kHalf,
     "ResultNoAA",
     kSoftware,
     "Radeon",
     {{0, 0}, {1 << 28}},
     "session-forced-software",
     "On this computer: The environment sets LIBGL_ALWAYS_SOFTWARE=true, which makes OpenGL draw "
     "in software or with another driver than the graphics card's own."},
    {0x10, {0, 0, 0, 1}, kHalf, kLimited, "ResultBad", kSoftware, "softpipe"},
    {0x02, {0, 0, 0, 0}, kHalf, kLimited, "ResultPoor", "IdentityUnknown", std::nullopt},
    {0x17, {1, 1, 0, 1}, kHalf, kLimited, "ResultPoor"},
    {0x0E, {0, 1, 1, 0}, kHalf, kHalf, "ResultPoor"},
};
INSTANTIATE_TEST_SUITE_P(Masks, Reveal, ::testing::ValuesIn(kMasks), [](const auto& param) {
    return "Mask" + std::to_string(param.param.mask);
});

using RevealChain = StandInWindowTest;

// NOTE: timers never fire early, so each gap has a hard lower bound; the median keeps the upper
// bound clear of a loaded machine's stalls.
TEST_F(RevealChain, StepsComeInOrderAQuarterSecondApart) {
    launch(0x1F);
    const auto start = std::chrono::steady_clock::now();
    std::vector<double> times;  // when each step was first seen
    bool inOrder = true;
    runUntil([&] {
        std::vector<bool> shown;
        for (const char* mark : kMarks) {
            shown.push_back(!field(mark)->isHidden());
        }
        for (const char* view : kVerdicts) {
            shown.push_back(!outlet<ImageView>(view)->imageName().empty());
        }
        shown.push_back(!alerts.empty());
        inOrder = inOrder && std::is_sorted(shown.rbegin(), shown.rend());  // only leading steps
        const auto count = static_cast<std::size_t>(std::count(shown.begin(), shown.end(), true));
        const auto now = std::chrono::steady_clock::now() - start;
        times.resize(count, std::chrono::duration<double>(now).count());
        return !alerts.empty();
    });
    EXPECT_TRUE(inOrder);
    ASSERT_EQ(times.size(), 8U);
    std::array<double, 8> gaps{};
    std::adjacent_difference(times.begin(), times.end(), gaps.begin());
    std::sort(gaps.begin(), gaps.end());
    EXPECT_GE(gaps[0], 0.24);
    EXPECT_LE(gaps[4], 0.40);
}

// NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding): fields in the order rows give them
struct ActionCase {
    uint32_t mask;
    void (Controller::*action)(void*);
    const char* key;  // null: no alert
    std::size_t buttons;
    const char* answer;
    const char* opened;  // the page opened, or null
    // The recorded machine whose evidence explains a failed check, and what the alert says first.
    const char* machine = "intel-igpu";
    const char* causes = "";
    bool noBrowser = false;  // no program opens it: an alert says so and gives the address
};

class Actions : public StandInWindowTest, public ::testing::WithParamInterface<ActionCase> {};

TEST_P(Actions, ExplainOnTheMaskAndOfferThePageOnlyForFailedShadowsAndLighting) {
    const ActionCase& expected = GetParam();
    system.evidenceMachine = expected.machine;
    launch(expected.mask);
    RunLoop::main().cancelDelayedCalls();
    answerKey = expected.answer;
    system.noBrowser = expected.noBrowser;
    (controller.get()->*expected.action)(nullptr);
    const std::size_t explained = expected.key != nullptr ? 1U : 0U;
    ASSERT_EQ(alerts.size(), explained + (expected.noBrowser ? 1U : 0U));
    if (expected.key != nullptr) {
        EXPECT_EQ(alerts[0].message, LocalizedString(expected.key));
        EXPECT_EQ(alerts[0].detail,
                  expected.causes + LocalizedString(std::string(expected.key) + "_detail"));
        EXPECT_EQ(alerts[0].buttons, expected.buttons);
    }
    EXPECT_EQ(system.openedURLs, expected.opened != nullptr
                                     ? std::vector<std::string>{expected.opened}
                                     : std::vector<std::string>{});
    if (expected.noBrowser) {
        EXPECT_EQ(alerts.back().message, "The page could not be opened");
        EXPECT_THAT(alerts.back().detail, ::testing::EndsWith(":\n\n" + system.openedURLs.at(0)));
        EXPECT_EQ(alerts.back().buttons, 1U);
    }
}

using C = Controller;
const ActionCase kActions[] = {
    {0x1E, &C::doInfoHWOff, "InfoHWOffFail", 1, "Return", nullptr},
    {0x1F, &C::doInfoShadow, "InfoShadowPass", 1, "Return", nullptr},
    {0x1B, &C::doInfoShadow, "InfoShadowFail", 2, "Return", kLightingPage},
    {0x1D, &C::doInfoShadow, "InfoShadowFail", 2, "Escape", nullptr},
    {0x1B, &C::doInfoShadow, "InfoShadowFail", 2, "Escape", nullptr, "session-extension-override",
     "On this computer: The environment sets MESA_EXTENSION_OVERRIDE=-GL_EXT_stencil_two_side, "
     "which changes what the graphics driver reports: a check can fail that the graphics card "
     "itself would pass.\nWhat to do: Remove MESA_EXTENSION_OVERRIDE from the environment (look in "
     "~/.profile, ~/.bashrc, /etc/environment and the launcher that starts the program), then "
     "start the program again.\n\n"},
    {0x1B, &C::doInfoHiResLight, "InfoHiResLightPass", 1, "Return", nullptr,
     "session-extension-override"},
    {0x17, &C::doInfoHiResLight, "InfoHiResLightFail", 2, "Return", kLightingPage},
    {0x0F, &C::doInfoAntiAlias, "InfoAAFail", 1, "Return", nullptr},
    {0x1F, &C::doDuoPPL, "DuoNoPPL", 1, "Return", nullptr},
    {0x1F, &C::doInfoRendering, "SoftwareRendering", 1, "Return", nullptr},
    {0x0F, &C::doReviewResults, "ResultNoAA", 1, "Return", nullptr},
    {0x1F, &C::doMoreAboutVersions, nullptr, 0, "Return", kComparisonPage},
    // Escape closes an alert without a Cancel button as its close button does: nothing follows.
    {0x1F, &C::doInfoHWOff, "InfoHWOffPass", 1, "Escape", nullptr},
    {0x1F, &C::doInfoHiResLight, "InfoHiResLightPass", 1, "Escape", nullptr},
    {0x1F, &C::doDuoPPL, "DuoNoPPL", 1, "Escape", nullptr},
    {0x1F, &C::doInfoRendering, "SoftwareRendering", 1, "Escape", nullptr},
    {0x0F, &C::doReviewResults, "ResultNoAA", 1, "Escape", nullptr},
    {.mask = 0x1F,
     .action = &C::doMoreAboutVersions,
     .key = nullptr,
     .buttons = 0,
     .answer = "Escape",
     .opened = kComparisonPage,
     .noBrowser = true},
    {.mask = 0x1B,
     .action = &C::doInfoShadow,
     .key = "InfoShadowFail",
     .buttons = 2,
     .answer = "Return",
     .opened = kLightingPage,
     .noBrowser = true},
};
INSTANTIATE_TEST_SUITE_P(Table, Actions, ::testing::ValuesIn(kActions));

}  // namespace
