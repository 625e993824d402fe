#include "OtherCardTexts.h"

#include <string_view>

#include "LocalizedStrings.h"
#include "StringFormat.h"

namespace {

std::string Format(const char* key, const std::vector<std::string>& arguments) {
    return StringWithFormat(LocalizedString(key), arguments);
}

std::string CauseText(const OtherCard& card) {
    switch (card.cause) {
        case CardCause::OffloadNotSetUp:
            return LocalizedString("OtherCardOffloadNotSetUp");
        case CardCause::DriverMissing:
            return LocalizedString("OtherCardDriverMissing");
        case CardCause::TimedOut:
            return LocalizedString("OtherCardTimedOut");
        case CardCause::OutOfTime:
            return LocalizedString("OtherCardOutOfTime");
        case CardCause::Crashed:
            return Format("OtherCardCrashed", {card.detail});
        case CardCause::ExitedWithError:
            return Format("OtherCardExited", {card.detail});
        case CardCause::LaunchFailed:
            return card.detail;
        case CardCause::Unreadable:
        case CardCause::None:
            break;
    }
    return LocalizedString("OtherCardUnreadable");
}

// Letters, digits and the punctuation a shell leaves alone stand as they are.
bool NeedsQuotes(const std::string& text) {
    if (text.empty()) {
        return true;
    }
    for (const char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') ||
                           std::string_view("_@%+=:,./-").find(c) != std::string_view::npos;
        if (!plain) {
            return true;
        }
    }
    return false;
}

std::string ShellQuoted(const std::string& text) {
    if (!NeedsQuotes(text)) {
        return text;
    }
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// The editions by name, with the card's verdict on each.
std::vector<std::pair<const char*, EditionSupport>> Verdicts(const Assessment& assessment) {
    return {
        {"Basic", assessment.basic}, {"Advanced", assessment.advanced}, {"Duo", assessment.duo}};
}

CardRow RowFor(const OtherCard& card) {
    CardRow row;
    row.name = card.name;
    row.state = CardStateText(card);
    if (card.status == CardStatus::Checked) {
        for (const auto& [edition, support] : Verdicts(card.facts.assessment)) {
            row.verdicts.push_back(SupportText(support));
            row.verdictNames.push_back(
                Format("OtherCardVerdictName", {edition, card.name, row.verdicts.back()}));
        }
    } else {
        row.stateName = Format("OtherCardStateName", {card.name, row.state});
    }
    row.buttonTitle = LocalizedString("OtherCardHowToUse");
    row.buttonName = Format("OtherCardHowToUseName", {card.name});
    return row;
}

}  // namespace

std::string SupportText(EditionSupport support) {
    switch (support) {
        case EditionSupport::Full:
            return LocalizedString("ReportGreenCircle");
        case EditionSupport::Limited:
            return LocalizedString("ReportHalfGreenCircle");
        case EditionSupport::SignificantLimitations:
            break;
    }
    return LocalizedString("ReportSignificantLimitations");
}

std::string CardStateText(const OtherCard& card) {
    switch (card.status) {
        case CardStatus::Waiting:
            return LocalizedString("OtherCardWaiting");
        case CardStatus::Checking:
            return LocalizedString("OtherCardChecking");
        case CardStatus::Checked:
            break;
        case CardStatus::NotReachable:
            return Format("OtherCardNotReachable", {CauseText(card)});
        case CardStatus::Failed:
            return Format("OtherCardFailed", {CauseText(card)});
    }
    return {};
}

std::string EnvironmentCommandLine(const OtherCard& card) {
    std::string line;
    for (const auto& [name, value] : card.environment) {
        line += (line.empty() ? "" : " ") + name + "=" + ShellQuoted(value);
    }
    return line;
}

std::string HowToStartText(const OtherCard& card) {
    return card.listedByDesktop
               ? LocalizedString("OtherCardStartFromMenu")
               : Format("OtherCardStartWithVariables", {EnvironmentCommandLine(card)});
}

std::vector<CardRow> OtherCardRows(const std::vector<OtherCard>& cards) {
    std::vector<CardRow> rows;
    rows.reserve(cards.size());
    for (const OtherCard& card : cards) {
        rows.push_back(RowFor(card));
    }
    return rows;
}
