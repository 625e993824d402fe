// The timed reveal: four checks, three edition verdicts and the summary, a quarter of a second
// apart.
#include "AccessibleNames.h"
#include "Controller.h"
#include "LocalizedStrings.h"
#include "Verdicts.h"

namespace {

constexpr const char* kPassMark = "\u2611";
constexpr const char* kFailMark = "\u2612";
constexpr const char* kParagraphBreak = "\n\n";
constexpr const char* kSoftwareRenderingSummary = "ResultSoftwareRendering";

}  // namespace

void Controller::showOneResult(bool passed, TextField* label, TextField* check) {
    const Color& color = passed ? *mGoodColor : *mBadColor;
    check->setAttributedStringValue({passed ? kPassMark : kFailMark, check->font(), color});
    check->setHidden(false);
    if (!passed) {
        label->setTextColor(*mBadColor);
        label->setFont(ConvertFontToHaveTrait(label->font(), kBoldFontMask));
    }
}

void Controller::showCheck1() {
    oHWOffCheck->setAccessibleName(CheckAccessibleName(Check::Offscreen, mFacts.assessment));
    showOneResult(Verdicts::offscreenPasses(mFeaturesMask), oHWOffLabel, oHWOffCheck);
    scheduleNext(&Controller::showCheck2);
}

void Controller::showCheck2() {
    oShadowCheck->setAccessibleName(CheckAccessibleName(Check::Shadows, mFacts.assessment));
    showOneResult(Verdicts::shadowsPass(mFeaturesMask), oShadowLabel, oShadowCheck);
    scheduleNext(&Controller::showCheck3);
}

void Controller::showCheck3() {
    oHiResLightCheck->setAccessibleName(CheckAccessibleName(Check::Lighting, mFacts.assessment));
    showOneResult(Verdicts::lightingPasses(mFeaturesMask), oHiResLightLabel, oHiResLightCheck);
    scheduleNext(&Controller::showCheck4);
}

void Controller::showCheck4() {
    oAntiAliasCheck->setAccessibleName(CheckAccessibleName(Check::AntiAliasing, mFacts.assessment));
    showOneResult(Verdicts::antiAliasingPasses(mFeaturesMask), oAntiAliasLabel, oAntiAliasCheck);
    scheduleNext(&Controller::showVersionBasic);
}

void Controller::showVersionBasic() {
    oBasicCircle->setAccessibleName(EditionAccessibleName(Edition::Basic, mFacts.assessment));
    oBasicCircle->setImage(Verdicts::basicImage(mFeaturesMask));
    scheduleNext(&Controller::showVersionAdvanced);
}

void Controller::showVersionAdvanced() {
    oAdvancedCircle->setAccessibleName(EditionAccessibleName(Edition::Advanced, mFacts.assessment));
    oAdvancedCircle->setImage(Verdicts::basicImage(mFeaturesMask));
    scheduleNext(&Controller::showVersionDuo);
}

void Controller::showVersionDuo() {
    const std::string verdict = Verdicts::duoImage(mFeaturesMask);
    if (verdict == Verdicts::kSignificantLimitations) {
        oDuoBangButton->setHidden(false);
    }
    oDuoCircle->setAccessibleName(EditionAccessibleName(Edition::Duo, mFacts.assessment));
    oDuoCircle->setImage(verdict);
    scheduleNext(&Controller::reportResults);
}

void Controller::reportResults() {
    const std::string key = Verdicts::summaryKey(mFeaturesMask);
    if (mFacts.rendering != Rendering::Software) {
        runInfoAlertWithMainKey(key, key + "_detail");
        return;
    }
    // The marks describe what the processor can draw, not the graphics hardware: say so.
    Alert alert = makeInfoAlert(key, key + "_detail");
    alert.setInformativeText(alert.informativeText() + kParagraphBreak +
                             LocalizedString(kSoftwareRenderingSummary));
    alert.runModal();
}

void Controller::doReviewResults(void* /*sender*/) {
    reportResults();
}
