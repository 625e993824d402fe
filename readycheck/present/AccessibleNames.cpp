#include "AccessibleNames.h"

#include "CauseTexts.h"
#include "LocalizedStrings.h"
#include "StringFormat.h"

namespace {

const char* SupportKey(EditionSupport support) {
    switch (support) {
        case EditionSupport::Full:
            return "AccessibleFullSupport";
        case EditionSupport::Limited:
            return "AccessibleLimitedSupport";
        case EditionSupport::SignificantLimitations:
            break;
    }
    return "AccessibleSignificantLimitations";
}

// The caption's key, so that the name says what the window says.
std::string CheckName(const char* captionKey, bool passed) {
    return StringWithFormat(LocalizedString("AccessibleCheck"),
                            {LocalizedString(captionKey),
                             LocalizedString(passed ? "AccessiblePass" : "AccessibleFail")});
}

// A product name, the same in every language.
std::string EditionName(const char* edition, EditionSupport support) {
    return StringWithFormat(LocalizedString("AccessibleEdition"),
                            {edition, LocalizedString(SupportKey(support))});
}

}  // namespace

std::string AccessibleName(AssessmentField field, const Assessment& assessment) {
    switch (field) {
        case AssessmentField::Offscreen:
            return CheckName("WindowHWOff", assessment.offscreen);
        case AssessmentField::Shadows:
            return CheckName("WindowShadow", assessment.shadows);
        case AssessmentField::Lighting:
            return CheckName("WindowHiResLight", assessment.lighting);
        case AssessmentField::AntiAliasing:
            return CheckName("WindowAntiAlias", assessment.antiAliasing);
        case AssessmentField::Basic:
            return EditionName("Basic", assessment.basic);
        case AssessmentField::Advanced:
            return EditionName("Advanced", assessment.advanced);
        case AssessmentField::Duo:
            break;
    }
    return EditionName("Duo", assessment.duo);
}

std::string AccessibleDescription(AssessmentField field, const Facts& facts) {
    const Assessment& assessment = facts.assessment;
    bool failed = false;
    switch (field) {
        case AssessmentField::Offscreen:
            failed = !assessment.offscreen;
            break;
        case AssessmentField::Shadows:
            failed = !assessment.shadows;
            break;
        case AssessmentField::Lighting:
            failed = !assessment.lighting;
            break;
        case AssessmentField::AntiAliasing:
            failed = !assessment.antiAliasing;
            break;
        case AssessmentField::Basic:
        case AssessmentField::Advanced:
        case AssessmentField::Duo:
            break;
    }
    return failed ? FirstCauseLine(facts.causes) : std::string();
}
