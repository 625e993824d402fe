// The timed reveal, the verdicts and summary, the information alerts and the window actions.
#include <array>
#include <cmath>
#include <ostream>

#include "LocalizedStrings.h"
#include "RunLoop.h"
#include "WindowFixture.h"

namespace {

const Color kGood{0.0F, 0.7F, 0.0F, 1.0F};
const Color kBad{0.7F, 0.0F, 0.0F, 1.0F};
constexpr const char* kLightingPage = READYCHECK_MAKER_URL "/scenegrade/lighting_and_shadows.html";
constexpr const char* kComparisonPage =
    READYCHECK_MAKER_URL "/scenegrade/version_3_features_table.html";

bool Near(const std::optional<Color>& color, const Color& expected) {
    return color && std::fabs(color->red - expected.red) < 0.01F &&
           std::fabs(color->green - expected.green) < 0.01F &&
           std::fabs(color->blue - expected.blue) < 0.01F;
}

struct Expected {
    uint32_t mask;
    std::array<bool, 4> checks;
    const char* basic;
    const char* duo;
    const char* summary;
};

const Expected kTable[] = {
    {0x1F, {true, true, true, true}, "GreenCircle", "GreenCircle", "ResultGood"},
    {0x7F, {true, true, true, true}, "GreenCircle", "GreenCircle", "ResultGood"},
    {0x0F, {true, true, true, false}, "HalfGreenCircle", "HalfGreenCircle", "ResultNoAA"},
    {0x00, {false, false, false, false}, "HalfGreenCircle", "SignificantLimitations", "ResultBad"},
    {0x10, {false, false, false, true}, "HalfGreenCircle", "SignificantLimitations", "ResultBad"},
    {0x02, {false, false, false, false}, "HalfGreenCircle", "SignificantLimitations", "ResultPoor"},
    {0x04, {false, false, false, false}, "HalfGreenCircle", "SignificantLimitations", "ResultPoor"},
    {0x17, {true, true, false, true}, "HalfGreenCircle", "SignificantLimitations", "ResultPoor"},
    {0x0E, {false, true, true, false}, "HalfGreenCircle", "HalfGreenCircle", "ResultPoor"},
};

void PrintTo(const Expected& expected, std::ostream* out) {
    *out << "mask " << expected.mask;
}

constexpr const char* kCaptions[] = {"oHWOffLabel", "oShadowLabel", "oHiResLightLabel",
                                     "oAntiAliasLabel"};
constexpr const char* kMarks[] = {"oHWOffCheck", "oShadowCheck", "oHiResLightCheck",
                                  "oAntiAliasCheck"};

class Reveal : public WindowTest, public ::testing::WithParamInterface<Expected> {};

TEST_P(Reveal, ShowsMarksVerdictsAndSummaryForTheMask) {
    const Expected& expected = GetParam();
    launch(expected.mask);
    const Font captionFont = field(kCaptions[0])->font();
    ASSERT_TRUE(runReveal());
    for (std::size_t i = 0; i < 4; ++i) {
        TextField* mark = field(kMarks[i]);
        TextField* caption = field(kCaptions[i]);
        const bool passed = expected.checks[i];
        EXPECT_FALSE(mark->isHidden()) << kMarks[i];
        EXPECT_EQ(mark->stringValue(), passed ? "\u2611" : "\u2612") << kMarks[i];
        EXPECT_TRUE(Near(mark->textColor(), passed ? kGood : kBad)) << kMarks[i];
        EXPECT_EQ(caption->font().isBold(), !passed) << kCaptions[i];
        if (passed) {
            EXPECT_FALSE(caption->textColor()) << "a passed caption keeps its colour";
            EXPECT_EQ(caption->font(), captionFont);
        } else {
            EXPECT_TRUE(Near(caption->textColor(), kBad)) << kCaptions[i];
        }
    }
    EXPECT_EQ(outlet<ImageView>("oBasicCircle")->imageName(), expected.basic);
    EXPECT_EQ(outlet<ImageView>("oAdvancedCircle")->imageName(), expected.basic);
    EXPECT_EQ(outlet<ImageView>("oDuoCircle")->imageName(), expected.duo);
    EXPECT_EQ(outlet<Button>("oDuoBangButton")->isHidden(),
              std::string(expected.duo) != "SignificantLimitations");
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_EQ(alerts[0].message, LocalizedString(expected.summary));
    EXPECT_EQ(alerts[0].detail, LocalizedString(std::string(expected.summary) + "_detail"));
    EXPECT_EQ(alerts[0].buttons, 1U);
}

INSTANTIATE_TEST_SUITE_P(Masks, Reveal, ::testing::ValuesIn(kTable), [](const auto& param) {
    return "Mask" + std::to_string(param.param.mask);
});

using RevealOrder = WindowTest;

// The order in which the marks, verdicts and summary first appear.
std::vector<std::string> ObservedOrder(WindowTest& test,
                                       const std::function<TextField*(const char*)>& field,
                                       const std::function<ImageView*(const char*)>& image,
                                       const std::vector<SeenAlert>& alerts) {
    std::vector<std::string> order;
    const auto note = [&](const std::string& what, bool now) {
        if (now && std::find(order.begin(), order.end(), what) == order.end()) {
            order.push_back(what);
        }
    };
    RunLoop::main().runUntil(
        [&] {
            for (const char* mark : kMarks) {
                note(mark, !field(mark)->isHidden());
            }
            for (const char* view : {"oBasicCircle", "oAdvancedCircle", "oDuoCircle"}) {
                note(view, !image(view)->imageName().empty());
            }
            note("summary", !alerts.empty());
            return !alerts.empty();
        },
        10.0);
    (void)test;
    return order;
}

TEST_F(RevealOrder, StepsComeOneAfterAnotherAndNothingBeforeTheWindow) {
    launch(0x1F);
    const auto order = ObservedOrder(
        *this, [this](const char* name) { return field(name); },
        [this](const char* name) { return outlet<ImageView>(name); }, alerts);
    EXPECT_EQ(order, (std::vector<std::string>{"oHWOffCheck", "oShadowCheck", "oHiResLightCheck",
                                               "oAntiAliasCheck", "oBasicCircle", "oAdvancedCircle",
                                               "oDuoCircle", "summary"}));
}

TEST_F(RevealOrder, AnOpenAlertHoldsTheRemainingSteps) {
    launch(0x1F);
    ASSERT_TRUE(runUntil([&] { return !field("oHWOffCheck")->isHidden(); }));
    whileNextAlertIsOpen = [this] {
        runUntil([] { return false; }, 0.8);  // three steps' worth of time, in the modal mode
        EXPECT_TRUE(field("oShadowCheck")->isHidden()) << "no step fires while the alert is open";
    };
    controller->doInfoHWOff(nullptr);
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_TRUE(field("oShadowCheck")->isHidden() || field("oHiResLightCheck")->isHidden())
        << "the steps continue one at a time after the alert";
    ASSERT_TRUE(runReveal());
    EXPECT_FALSE(field("oAntiAliasCheck")->isHidden());
    EXPECT_EQ(alerts.back().message, LocalizedString("ResultGood"));
}

TEST_F(RevealOrder, ReviewResultsDuringAndAfterTheReveal) {
    launch(0x0F);
    ASSERT_TRUE(runUntil([&] { return !field("oHWOffCheck")->isHidden(); }));
    controller->doReviewResults(nullptr);
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_EQ(alerts[0].message, LocalizedString("ResultNoAA"));
    ASSERT_TRUE(runReveal());
    controller->doReviewResults(nullptr);
    ASSERT_EQ(alerts.size(), 3U);
    EXPECT_EQ(alerts[2].message, LocalizedString("ResultNoAA"));
}

// The actions, with the reveal stopped so that only the action's alert shows.
class Actions : public WindowTest {
protected:
    void start(uint32_t mask) {
        launch(mask);
        RunLoop::main().cancelDelayedCalls();
    }
    void run(void (Controller::*action)(void*)) { (controller.get()->*action)(nullptr); }
    const SeenAlert& last() { return alerts.back(); }
};

TEST_F(Actions, PassedChecksGetThePlainAlert) {
    start(0x1F);
    run(&Controller::doInfoHWOff);
    EXPECT_EQ(last().message, LocalizedString("InfoHWOffPass"));
    run(&Controller::doInfoShadow);
    EXPECT_EQ(last().message, LocalizedString("InfoShadowPass"));
    run(&Controller::doInfoHiResLight);
    EXPECT_EQ(last().message, LocalizedString("InfoHiResLightPass"));
    run(&Controller::doInfoAntiAlias);
    EXPECT_EQ(last().message, LocalizedString("InfoAAPass"));
    for (const SeenAlert& alert : alerts) {
        EXPECT_EQ(alert.buttons, 1U) << alert.message;
    }
    EXPECT_TRUE(StandIn::CurrentSystem().openedURLs.empty());
}

TEST_F(Actions, FailedShadowAndLightingOfferTheSamePageOnReturn) {
    start(0x02);
    run(&Controller::doInfoShadow);
    EXPECT_EQ(last().message, LocalizedString("InfoShadowFail"));
    EXPECT_EQ(last().detail, LocalizedString("InfoShadowFail_detail"));
    EXPECT_EQ(last().buttons, 2U);
    run(&Controller::doInfoHiResLight);
    EXPECT_EQ(last().message, LocalizedString("InfoHiResLightFail"));
    EXPECT_EQ(StandIn::CurrentSystem().openedURLs,
              (std::vector<std::string>{kLightingPage, kLightingPage}));
}

TEST_F(Actions, EscapeCancelsAndOpensNothing) {
    start(0x04);
    answerKey = "Escape";
    run(&Controller::doInfoShadow);
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_TRUE(StandIn::CurrentSystem().openedURLs.empty());
}

TEST_F(Actions, OffscreenAndAntiAliasingNeverOfferAPage) {
    start(0x00);
    run(&Controller::doInfoHWOff);
    EXPECT_EQ(last().message, LocalizedString("InfoHWOffFail"));
    EXPECT_EQ(last().buttons, 1U);
    run(&Controller::doInfoAntiAlias);
    EXPECT_EQ(last().message, LocalizedString("InfoAAFail"));
    EXPECT_EQ(last().buttons, 1U);
    EXPECT_TRUE(StandIn::CurrentSystem().openedURLs.empty());
}

TEST_F(Actions, DuoAlertIsTheSameWhateverTheMask) {
    for (const uint32_t mask : {0x00U, 0x1FU}) {
        start(mask);
        run(&Controller::doDuoPPL);
        EXPECT_EQ(last().message, LocalizedString("DuoNoPPL"));
        EXPECT_EQ(last().buttons, 1U);
        application.reset();
        controller.reset();
    }
}

TEST_F(Actions, ComparisonPageOpensAtOnceAndCloseTerminates) {
    start(0x1F);
    run(&Controller::doMoreAboutVersions);
    EXPECT_TRUE(alerts.empty());
    EXPECT_EQ(StandIn::CurrentSystem().openedURLs, (std::vector<std::string>{kComparisonPage}));
    RunLoop::main().resetStopped();
    RunLoop::main().invokeGuarded([this] { controller->doClose(nullptr); });
    EXPECT_TRUE(RunLoop::main().stopped());
}

using Screenshots = WindowTest;

TEST_F(Screenshots, FinishedWindowForFullAndNoSupport) {
    for (const uint32_t mask : {0x1FU, 0x00U}) {
        launch(mask);
        ASSERT_TRUE(runReveal());
        saveScreenshot("readycheck-window-mask-" + std::to_string(mask) + ".png");
        application.reset();
        controller.reset();
    }
}

}  // namespace
