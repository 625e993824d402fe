// The section of other graphics cards: a row per card as its check goes on, and how to start
// the 3D application on each.
#include "Alert.h"
#include "Clipboard.h"
#include "Controller.h"
#include "LocalizedStrings.h"
#include "OtherCardTexts.h"
#include "StringFormat.h"

void Controller::showOtherCards() {
    oOtherCards->setRows(OtherCardRows(facts().otherCards),
                         [this](std::size_t card) { doHowToUseCard(card); });
}

void Controller::doHowToUseCard(std::size_t card) {
    if (card >= facts().otherCards.size()) {
        return;
    }
    const OtherCard& other = facts().otherCards[card];
    const std::string key = other.listedByDesktop ? "OtherCardHowToMenu" : "OtherCardHowToCommand";
    const std::string command = EnvironmentCommandLine(other);
    Alert alert;
    alert.setAlertStyle(kInformationalAlertStyle);
    alert.setMessageText(StringWithFormat(LocalizedString(key), {other.name}));
    alert.setInformativeText(StringWithFormat(LocalizedString(key + "_detail"), {command}));
    const std::size_t ok = alert.addButtonWithTitle(LocalizedString("GenericOKButtonTitle"));
    alert.setButtonKeyEquivalent(ok, "\r");
    if (!other.listedByDesktop) {
        alert.addButtonWithTitle(LocalizedString("OtherCardCopyCommand"));
    }
    if (alert.runModal() == kAlertSecondButtonReturn) {
        SetClipboardText(command);
    }
}
