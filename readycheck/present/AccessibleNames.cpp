#include "AccessibleNames.h"

#include "LocalizedStrings.h"
#include "StringFormat.h"

namespace {

struct CheckEntry {
    const char* captionKey;  // the caption's key, so that the name says what the window says
    bool Assessment::*passed;
};

constexpr CheckEntry kChecks[] = {
    {"WindowHWOff", &Assessment::offscreen},
    {"WindowShadow", &Assessment::shadows},
    {"WindowHiResLight", &Assessment::lighting},
    {"WindowAntiAlias", &Assessment::antiAliasing},
};

struct EditionEntry {
    const char* name;  // a product name, the same in every language
    EditionSupport Assessment::*support;
};

constexpr EditionEntry kEditions[] = {
    {"Basic", &Assessment::basic},
    {"Advanced", &Assessment::advanced},
    {"Duo", &Assessment::duo},
};

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

}  // namespace

std::string CheckAccessibleName(Check check, const Assessment& assessment) {
    const CheckEntry& entry = kChecks[static_cast<int>(check)];
    const bool passed = assessment.*entry.passed;
    return StringWithFormat(LocalizedString("AccessibleCheck"),
                            {LocalizedString(entry.captionKey),
                             LocalizedString(passed ? "AccessiblePass" : "AccessibleFail")});
}

std::string EditionAccessibleName(Edition edition, const Assessment& assessment) {
    const EditionEntry& entry = kEditions[static_cast<int>(edition)];
    return StringWithFormat(LocalizedString("AccessibleEdition"),
                            {entry.name, LocalizedString(SupportKey(assessment.*entry.support))});
}
