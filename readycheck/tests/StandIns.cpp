#include "StandIns.h"

#include "NotificationCenter.h"
#include "TaskWrapper.h"

void StandInWindowTest::SetUp() {
    WindowTest::SetUp();
    NotificationCenter::defaultCenter().addObserver(
        this,
        [](const Notification& notification) {
            const auto* task = static_cast<const TaskWrapper*>(notification.object);
            std::string event = "task in " + task->currentDirectoryPath() + ":";
            for (const std::string& argument : task->arguments()) {
                event += " " + argument;
            }
            StandIn::Current().events.push_back(event);
        },
        kTaskCreatedNotification, nullptr);
}

void StandInWindowTest::TearDown() {
    NotificationCenter::defaultCenter().removeObserver(this);
    WindowTest::TearDown();
}

void StandInWindowTest::launch(uint32_t mask) {
    StandIn::Current().mask = mask;
    WindowTest::launch();
}
