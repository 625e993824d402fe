#include "CauseTexts.h"

#include "LocalizedStrings.h"
#include "StringFormat.h"

namespace {

std::string Worded(const Wording& wording, std::string (*lookUp)(const std::string&)) {
    return StringWithFormat(lookUp(wording.key), wording.arguments);
}

std::string Localized(const std::string& key) {
    return LocalizedString(key);
}

std::string FoundLine(const Cause& cause) {
    return StringWithFormat(LocalizedString("AlertCauseFound"), {CauseFoundText(cause)});
}

}  // namespace

std::string CauseFoundText(const Cause& cause) {
    return Worded(cause.found, Localized);
}

std::string CauseAdviceText(const Cause& cause) {
    return Worded(cause.advice, Localized);
}

std::string CauseAdviceInEnglish(const Cause& cause) {
    return Worded(cause.advice, EnglishString);
}

std::string CausesParagraphs(const std::vector<Cause>& causes) {
    std::string text;
    for (const Cause& cause : causes) {
        text += (text.empty() ? "" : "\n\n") + FoundLine(cause) + "\n" +
                StringWithFormat(LocalizedString("AlertCauseAdvice"), {CauseAdviceText(cause)});
    }
    return text;
}

std::string FirstCauseLine(const std::vector<Cause>& causes) {
    return causes.empty() ? std::string() : FoundLine(causes.front());
}
