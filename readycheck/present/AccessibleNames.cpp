#include "AccessibleNames.h"

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

std::string AccessibleName(FactField field, const Assessment& assessment) {
    switch (field) {
        case FactField::Offscreen:
            return CheckName("WindowHWOff", assessment.offscreen);
        case FactField::Shadows:
            return CheckName("WindowShadow", assessment.shadows);
        case FactField::Lighting:
            return CheckName("WindowHiResLight", assessment.lighting);
        case FactField::AntiAliasing:
            return CheckName("WindowAntiAlias", assessment.antiAliasing);
        case FactField::Basic:
            return EditionName("Basic", assessment.basic);
        case FactField::Advanced:
            return EditionName("Advanced", assessment.advanced);
        case FactField::Duo:
            return EditionName("Duo", assessment.duo);
        case FactField::Version:
        case FactField::OperatingSystem:
        case FactField::Kernel:
        case FactField::DisplaySystem:
        case FactField::Manufacturer:
        case FactField::Renderer:
        case FactField::DriverVersion:
        case FactField::VideoMemoryBytes:
        case FactField::VideoMemoryKind:
        case FactField::Rendering:
        case FactField::RenderingSource:
        case FactField::FeatureMask:
        case FactField::DisplayProfiler:
        case FactField::DisplayControllers:
        case FactField::OtherCards:
            break;
    }
    return {};
}
