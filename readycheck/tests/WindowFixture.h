// Runs the Controller in the real window, seeing and answering each alert by a real key press.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Application.h"
#include "Controller.h"

inline const Color kGood{0.0F, 0.7F, 0.0F, 1.0F};
inline const Color kBad{0.7F, 0.0F, 0.0F, 1.0F};
inline bool Near(const std::optional<Color>& color, const Color& expected) {
    return color && std::abs(color->red - expected.red) + std::abs(color->green - expected.green) +
                            std::abs(color->blue - expected.blue) <
                        0.01F;
}

struct SeenAlert {
    std::string message;
    std::string detail;
    std::size_t buttons;
};

// What the built program beside the test prints with these options; it must succeed.
std::string ProgramOutput(const std::string& options);
std::vector<std::string> Lines(const std::string& text);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void launch();
    // Runs the loop until the next alert has been answered.
    bool runReveal();
    static bool runUntil(const std::function<bool()>& done, double seconds = 10.0);

    template <typename T>
    T* outlet(const char* name) {
        for (const auto& item : controller->outlets()) {
            if (std::string(item.name) == name) {
                return *std::get<T**>(item.pointer);
            }
        }
        throw std::logic_error(std::string("no outlet ") + name);  // gtest reports it
    }
    TextField* field(const char* name) { return outlet<TextField>(name); }
    // Sends a key ("Tab") to the window of a control, as typed.
    static void pressKey(void* widget, const std::string& keyName);

    // The clipboard's lines after "Copy Report" was pressed, or Ctrl+C typed in the window.
    std::vector<std::string> copyReport(bool byKeyboard);
    // Saves the result window, or the whole screen with any alert on it, as a PNG in the working
    // directory; fails the test when there is nothing to save.
    void saveScreenshot(const std::string& fileName, bool wholeScreen = false);

    // How long the helper may take for each other graphics card, for the next launch.
    double cardProbeBound = kCardProbeBoundSeconds;
    std::unique_ptr<Controller> controller;
    std::unique_ptr<LoadedApplication> application;
    std::vector<SeenAlert> alerts;
    std::string answerKey = "Return";
    // Answers the next alert with this response (kAlertSecondButtonReturn, ...) in place of the
    // key.
    std::optional<int> answerResponse;
    std::function<void()> whileNextAlertIsOpen;
};
