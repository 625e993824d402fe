// Modal alerts, centred over the application's window. Running one enters the modal-panel
// run-loop mode; the first button answers kAlertFirstButtonReturn, the second
// kAlertSecondButtonReturn. Escape answers as the button that carries it; where none does, it
// closes the alert as the alert's own close button does, answering neither. An application that
// terminates while one runs closes it, and runModal throws ApplicationTerminating.
#pragma once

#include <string>
#include <vector>

constexpr int kInformationalAlertStyle = 1;
constexpr int kAlertFirstButtonReturn = 1000;
constexpr int kAlertSecondButtonReturn = 1001;

class Alert {
public:
    struct ButtonSpec {
        std::string title;
        std::string keyEquivalent;  // "\r" for Return, "\x1b" for Escape
    };

    void setAlertStyle(int style) { mStyle = style; }
    void setMessageText(std::string text) { mMessage = std::move(text); }
    void setInformativeText(std::string text) { mInformative = std::move(text); }
    // Returns the button's index, from 0, for setButtonKeyEquivalent.
    std::size_t addButtonWithTitle(std::string title);
    void setButtonKeyEquivalent(std::size_t button, std::string key);

    int runModal();

    int style() const { return mStyle; }
    const std::string& messageText() const { return mMessage; }
    const std::string& informativeText() const { return mInformative; }
    const std::vector<ButtonSpec>& buttons() const { return mButtons; }

private:
    int mStyle = kInformationalAlertStyle;
    std::string mMessage;
    std::string mInformative;
    std::vector<ButtonSpec> mButtons;
};
