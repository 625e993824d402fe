// Runs the Controller in the real window with the stand-ins, answering alerts by key.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Alert.h"
#include "Application.h"
#include "Controller.h"
#include "StandIns.h"

struct SeenAlert {
    std::string message;
    std::string detail;
    std::size_t buttons;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the application with this mask; configure changes the stand-in system first.
    void launch(uint32_t mask, StandIn::Identity identity = {},
                const std::function<void(StandIn::System&)>& configure = {});
    // Runs the reveal until the summary alert has been answered.
    bool runReveal();
    // Runs the loop until done() holds, up to the timeout.
    static bool runUntil(const std::function<bool()>& done, double seconds = 10.0);

    template <typename T>
    T* outlet(const char* name) {
        for (const auto& item : controller->outlets()) {
            if (std::string(item.name) == name) {
                return *std::get<T**>(item.pointer);
            }
        }
        ADD_FAILURE() << "no outlet " << name;
        return nullptr;
    }
    TextField* field(const char* name) { return outlet<TextField>(name); }

    // Saves the result window as a PNG in the working directory.
    void saveScreenshot(const std::string& fileName);

    std::unique_ptr<Controller> controller;
    std::unique_ptr<LoadedApplication> application;
    std::vector<SeenAlert> alerts;
    std::string answerKey = "Return";
    std::function<void()> whileNextAlertIsOpen;
    std::vector<std::string> taskArguments;
    std::string taskDirectory;
};
