// The timed reveal, the verdicts and summary, the information alerts and the window actions.
#include <algorithm>
#include <array>
#include <chrono>

#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "StandIns.h"

namespace {

constexpr const char* kLightingPage = READYCHECK_MAKER_URL "/scenegrade/lighting_and_shadows.html";
constexpr const char* kComparisonPage =
    READYCHECK_MAKER_URL "/scenegrade/version_3_features_table.html";
constexpr const char* kCaptions[] = {"oHWOffLabel", "oShadowLabel", "oHiResLightLabel",
                                     "oAntiAliasLabel"};
constexpr const char* kMarks[] = {"oHWOffCheck", "oShadowCheck", "oHiResLightCheck",
                                  "oAntiAliasCheck"};
constexpr const char* kVerdicts[] = {"oBasicCircle", "oAdvancedCircle", "oDuoCircle"};

struct Expected {
    uint32_t mask;
    std::array<bool, 4> checks;
    const char* basic;
    const char* duo;
    const char* summary;
};

class Reveal : public StandInWindowTest, public ::testing::WithParamInterface<Expected> {};

TEST_P(Reveal, ShowsMarksVerdictsAndSummaryForTheMask) {
    const Expected& expected = GetParam();
    launch(expected.mask);
    const Font captionFont = field(kCaptions[0])->font();
    ASSERT_TRUE(runReveal());
    for (std::size_t i = 0; i < 4; ++i) {
        const bool passed = expected.checks[i];
        TextField* mark = field(kMarks[i]);
        EXPECT_FALSE(mark->isHidden()) << kMarks[i];
        EXPECT_EQ(mark->stringValue(), passed ? "\u2611" : "\u2612") << kMarks[i];
        EXPECT_TRUE(Near(mark->textColor(), passed ? kGood : kBad)) << kMarks[i];
        TextField* caption = field(kCaptions[i]);
        EXPECT_EQ(caption->font(), passed ? captionFont : ConvertFontToHaveTrait(captionFont, 2));
        EXPECT_TRUE(passed ? !caption->textColor() : Near(caption->textColor(), kBad));
    }
    EXPECT_EQ(outlet<ImageView>(kVerdicts[0])->imageName(), expected.basic);
    EXPECT_EQ(outlet<ImageView>(kVerdicts[1])->imageName(), expected.basic);
    EXPECT_EQ(outlet<ImageView>(kVerdicts[2])->imageName(), expected.duo);
    EXPECT_EQ(outlet<Button>("oDuoBangButton")->isHidden(),
              std::string(expected.duo) != "SignificantLimitations");
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_EQ(alerts[0].message, LocalizedString(expected.summary));
    EXPECT_EQ(alerts[0].detail, LocalizedString(std::string(expected.summary) + "_detail"));
    EXPECT_EQ(alerts[0].buttons, 1U);
}

const Expected kMasks[] = {
    {0x1F, {1, 1, 1, 1}, "GreenCircle", "GreenCircle", "ResultGood"},
    {0x7F, {1, 1, 1, 1}, "GreenCircle", "GreenCircle", "ResultGood"},
    {0x0F, {1, 1, 1, 0}, "HalfGreenCircle", "HalfGreenCircle", "ResultNoAA"},
    {0x00, {0, 0, 0, 0}, "HalfGreenCircle", "SignificantLimitations", "ResultBad"},
    {0x10, {0, 0, 0, 1}, "HalfGreenCircle", "SignificantLimitations", "ResultBad"},
    {0x02, {0, 0, 0, 0}, "HalfGreenCircle", "SignificantLimitations", "ResultPoor"},
    {0x04, {0, 0, 0, 0}, "HalfGreenCircle", "SignificantLimitations", "ResultPoor"},
    {0x17, {1, 1, 0, 1}, "HalfGreenCircle", "SignificantLimitations", "ResultPoor"},
    {0x0E, {0, 1, 1, 0}, "HalfGreenCircle", "HalfGreenCircle", "ResultPoor"},
};
INSTANTIATE_TEST_SUITE_P(Masks, Reveal, ::testing::ValuesIn(kMasks), [](const auto& param) {
    return "Mask" + std::to_string(param.param.mask);
});

using RevealChain = StandInWindowTest;

// NOTE: timers never fire early, so each gap has a hard lower bound; the median keeps the upper
// bound clear of a loaded machine's stalls.
TEST_F(RevealChain, StepsComeInOrderAQuarterSecondApart) {
    launch(0x1F);
    const auto shown = std::chrono::steady_clock::now();
    std::vector<std::string> order;
    std::vector<double> times;
    const auto note = [&](const std::string& what, bool now) {
        if (now && std::find(order.begin(), order.end(), what) == order.end()) {
            order.push_back(what);
            times.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - shown).count());
        }
    };
    runUntil([&] {
        for (const char* mark : kMarks) {
            note(mark, !field(mark)->isHidden());
        }
        for (const char* view : kVerdicts) {
            note(view, !outlet<ImageView>(view)->imageName().empty());
        }
        note("summary", !alerts.empty());
        return !alerts.empty();
    });
    EXPECT_EQ(order,
              (std::vector<std::string>{kMarks[0], kMarks[1], kMarks[2], kMarks[3], kVerdicts[0],
                                        kVerdicts[1], kVerdicts[2], "summary"}));
    std::vector<double> gaps;
    for (std::size_t i = 0; i < times.size(); ++i) {
        gaps.push_back(times[i] - (i == 0 ? 0.0 : times[i - 1]));
        EXPECT_GE(gaps.back(), 0.24) << "step " << i;
    }
    std::sort(gaps.begin(), gaps.end());
    EXPECT_LE(gaps[gaps.size() / 2], 0.40);
}

TEST_F(RevealChain, AnOpenAlertHoldsTheRemainingSteps) {
    launch(0x1F);
    ASSERT_TRUE(runUntil([&] { return !field(kMarks[0])->isHidden(); }));
    whileNextAlertIsOpen = [this] {
        runUntil([] { return false; }, 0.8);  // three steps' worth of time, in the modal mode
        EXPECT_TRUE(field(kMarks[1])->isHidden()) << "no step fires while the alert is open";
    };
    controller->doInfoHWOff(nullptr);
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_TRUE(field(kMarks[2])->isHidden()) << "the steps go on one at a time";
    ASSERT_TRUE(runReveal());
    EXPECT_EQ(alerts.back().message, LocalizedString("ResultGood"));
}

TEST_F(RevealChain, ReviewResultsShowsTheSameSummaryDuringAndAfterTheReveal) {
    launch(0x0F);
    controller->doReviewResults(nullptr);
    ASSERT_TRUE(runReveal());
    controller->doReviewResults(nullptr);
    ASSERT_EQ(alerts.size(), 3U);
    for (const SeenAlert& alert : alerts) {
        EXPECT_EQ(alert.message, LocalizedString("ResultNoAA"));
    }
}

struct ActionCase {
    uint32_t mask;
    void (Controller::*action)(void*);
    const char* key;  // null: no alert
    std::size_t buttons;
    const char* answer;
    const char* opened;  // the page opened, or null
};

class Actions : public StandInWindowTest, public ::testing::WithParamInterface<ActionCase> {};

TEST_P(Actions, ExplainOnTheMaskAndOfferThePageOnlyForFailedShadowsAndLighting) {
    const ActionCase& expected = GetParam();
    launch(expected.mask);
    RunLoop::main().cancelDelayedCalls();
    answerKey = expected.answer;
    (controller.get()->*expected.action)(nullptr);
    ASSERT_EQ(alerts.size(), expected.key != nullptr ? 1U : 0U);
    if (expected.key != nullptr) {
        EXPECT_EQ(alerts[0].message, LocalizedString(expected.key));
        EXPECT_EQ(alerts[0].detail, LocalizedString(std::string(expected.key) + "_detail"));
        EXPECT_EQ(alerts[0].buttons, expected.buttons);
    }
    EXPECT_EQ(system.openedURLs, expected.opened != nullptr
                                     ? std::vector<std::string>{expected.opened}
                                     : std::vector<std::string>{});
}

using C = Controller;
const ActionCase kActions[] = {
    {0x1F, &C::doInfoHWOff, "InfoHWOffPass", 1, "Return", nullptr},
    {0x1E, &C::doInfoHWOff, "InfoHWOffFail", 1, "Return", nullptr},
    {0x1F, &C::doInfoShadow, "InfoShadowPass", 1, "Return", nullptr},
    {0x1B, &C::doInfoShadow, "InfoShadowFail", 2, "Return", kLightingPage},
    {0x1D, &C::doInfoShadow, "InfoShadowFail", 2, "Escape", nullptr},
    {0x1F, &C::doInfoHiResLight, "InfoHiResLightPass", 1, "Return", nullptr},
    {0x17, &C::doInfoHiResLight, "InfoHiResLightFail", 2, "Return", kLightingPage},
    {0x1F, &C::doInfoAntiAlias, "InfoAAPass", 1, "Return", nullptr},
    {0x0F, &C::doInfoAntiAlias, "InfoAAFail", 1, "Return", nullptr},
    {0x00, &C::doDuoPPL, "DuoNoPPL", 1, "Return", nullptr},
    {0x1F, &C::doDuoPPL, "DuoNoPPL", 1, "Return", nullptr},
    {0x1F, &C::doMoreAboutVersions, nullptr, 0, "Return", kComparisonPage},
};
INSTANTIATE_TEST_SUITE_P(Table, Actions, ::testing::ValuesIn(kActions));

TEST_F(RevealChain, CloseTerminates) {
    launch(0x1F);
    RunLoop::main().resetStopped();
    RunLoop::main().invokeGuarded([this] { controller->doClose(nullptr); });
    EXPECT_TRUE(RunLoop::main().stopped());
}

}  // namespace
