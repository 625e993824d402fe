// The timed reveal: four checks, three edition verdicts and the summary, a quarter of a second
// apart.
#include "AccessibleNames.h"
#include "CauseTexts.h"
#include "Assessment.h"
#include "Controller.h"
#include "LocalizedStrings.h"

namespace {

constexpr const char* kPassMark = "\u2611";
constexpr const char* kFailMark = "\u2612";
constexpr const char* kParagraphBreak = "\n\n";
constexpr const char* kSoftwareRenderingSummary = "ResultSoftwareRendering";
constexpr const char* kSoftwareRenderingTitle = "ResultSoftwareRenderingTitle";

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

// What a screen reader says for a check's mark, and after it why a failed check failed.
void Controller::nameMark(TextField* mark, AssessmentField field) {
    mark->setAccessibleName(AccessibleName(field, facts().assessment));
    mark->setAccessibleDescription(AccessibleDescription(field, facts()));
}

void Controller::showCheck1() {
    const Assessment& assessment = facts().assessment;
    nameMark(oHWOffCheck, AssessmentField::Offscreen);
    showOneResult(assessment.offscreen, oHWOffLabel, oHWOffCheck);
    scheduleNext(&Controller::showCheck2);
}

void Controller::showCheck2() {
    const Assessment& assessment = facts().assessment;
    nameMark(oShadowCheck, AssessmentField::Shadows);
    showOneResult(assessment.shadows, oShadowLabel, oShadowCheck);
    scheduleNext(&Controller::showCheck3);
}

void Controller::showCheck3() {
    const Assessment& assessment = facts().assessment;
    nameMark(oHiResLightCheck, AssessmentField::Lighting);
    showOneResult(assessment.lighting, oHiResLightLabel, oHiResLightCheck);
    scheduleNext(&Controller::showCheck4);
}

void Controller::showCheck4() {
    const Assessment& assessment = facts().assessment;
    nameMark(oAntiAliasCheck, AssessmentField::AntiAliasing);
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
    const bool software = facts().rendering == Rendering::Software;
    if (!software && facts().causes.empty()) {
        runInfoAlertWithMainKey(key, key + "_detail");
        return;
    }
    Alert alert = makeInfoAlert(key, key + "_detail");
    std::string detail = alert.informativeText();
    if (software) {
        // Software rendering is never ready, whatever the marks say, which describe what the
        // processor can draw rather than the graphics hardware.
        alert.setMessageText(LocalizedString(kSoftwareRenderingTitle));
        detail += kParagraphBreak + LocalizedString(kSoftwareRenderingSummary);
    }
    if (!facts().causes.empty()) {
        detail += kParagraphBreak + FirstCauseLine(facts().causes);
    }
    alert.setInformativeText(detail);
    alert.runModal();
}

void Controller::doReviewResults(void* /*sender*/) {
    reportResults();
}
