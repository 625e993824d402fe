// The timed reveal: four checks, three edition verdicts and the summary, a quarter of a second
// apart.
#include "AccessibleNames.h"
#include "Assessment.h"
#include "Controller.h"
#include "LocalizedStrings.h"

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
    const Assessment& assessment = facts().assessment;
    oHWOffCheck->setAccessibleName(AccessibleName(AssessmentField::Offscreen, assessment));
    showOneResult(assessment.offscreen, oHWOffLabel, oHWOffCheck);
    scheduleNext(&Controller::showCheck2);
}

void Controller::showCheck2() {
    const Assessment& assessment = facts().assessment;
    oShadowCheck->setAccessibleName(AccessibleName(AssessmentField::Shadows, assessment));
    showOneResult(assessment.shadows, oShadowLabel, oShadowCheck);
    scheduleNext(&Controller::showCheck3);
}

void Controller::showCheck3() {
    const Assessment& assessment = facts().assessment;
    oHiResLightCheck->setAccessibleName(AccessibleName(AssessmentField::Lighting, assessment));
    showOneResult(assessment.lighting, oHiResLightLabel, oHiResLightCheck);
    scheduleNext(&Controller::showCheck4);
}

void Controller::showCheck4() {
    const Assessment& assessment = facts().assessment;
    oAntiAliasCheck->setAccessibleName(AccessibleName(AssessmentField::AntiAliasing, assessment));
    showOneResult(assessment.antiAliasing, oAntiAliasLabel, oAntiAliasCheck);
    scheduleNext(&Controller::showVersionBasic);
}

void Controller::showVersionBasic() {
    const Assessment& assessment = facts().assessment;
    oBasicCircle->setAccessibleName(AccessibleName(AssessmentField::Basic, assessment));
    oBasicCircle->setImage(VerdictImage(assessment.basic));
    scheduleNext(&Controller::showVersionAdvanced);
}

void Controller::showVersionAdvanced() {
    const Assessment& assessment = facts().assessment;
    oAdvancedCircle->setAccessibleName(AccessibleName(AssessmentField::Advanced, assessment));
    oAdvancedCircle->setImage(VerdictImage(assessment.advanced));
    scheduleNext(&Controller::showVersionDuo);
}

void Controller::showVersionDuo() {
    const Assessment& assessment = facts().assessment;
    if (assessment.duo == EditionSupport::SignificantLimitations) {
        oDuoBangButton->setHidden(false);
    }
    oDuoCircle->setAccessibleName(AccessibleName(AssessmentField::Duo, assessment));
    oDuoCircle->setImage(VerdictImage(assessment.duo));
    scheduleNext(&Controller::reportResults);
}

void Controller::reportResults() {
    const std::string key = Verdicts::summaryKey(mFeaturesMask);
    if (facts().rendering != Rendering::Software) {
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
