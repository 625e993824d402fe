#include "WindowFixture.h"

#include <gtk/gtk.h>

#include "NotificationCenter.h"
#include "RunLoop.h"
#include "TaskWrapper.h"

void WindowTest::SetUp() {
    SetAlertPresentedHook([this](const Alert& alert) {
        alerts.push_back({alert.messageText(), alert.informativeText(), alert.buttons().size()});
        if (whileNextAlertIsOpen) {
            const auto during = std::move(whileNextAlertIsOpen);
            whileNextAlertIsOpen = nullptr;
            during();
        }
        PressAlertKey(answerKey);
    });
    NotificationCenter::defaultCenter().addObserver(
        this,
        [this](const Notification& notification) {
            const auto* task = static_cast<const TaskWrapper*>(notification.object);
            StandIn::Events().emplace_back("taskCreated");
            taskArguments = task->arguments();
            taskDirectory = task->currentDirectoryPath();
        },
        kTaskCreatedNotification, nullptr);
}

void WindowTest::TearDown() {
    SetAlertPresentedHook(nullptr);
    NotificationCenter::defaultCenter().removeObserver(this);
    RunLoop::main().cancelDelayedCalls();
    application.reset();
    controller.reset();
    RunLoop::main().drainDeferred();
}

void WindowTest::launch(uint32_t mask, StandIn::Identity identity,
                        const std::function<void(StandIn::System&)>& configure) {
    StandIn::Reset(mask, std::move(identity));
    if (configure) {
        configure(StandIn::CurrentSystem());
    }
    controller = std::make_unique<Controller>();
    application = LoadApplication(*controller);
    ASSERT_NE(application, nullptr);
}

bool WindowTest::runUntil(const std::function<bool()>& done, double seconds) {
    return RunLoop::main().runUntil(done, seconds);
}

bool WindowTest::runReveal() {
    const std::size_t before = alerts.size();
    return runUntil([&] { return alerts.size() > before; });
}

void WindowTest::saveScreenshot(const std::string& fileName) {
    runUntil([] { return false; }, 0.3);  // let the window draw
    auto* window = static_cast<GtkWidget*>(outlet<Window>("oResultWindow")->widget());
    GdkWindow* surface = gtk_widget_get_window(window);
    ASSERT_NE(surface, nullptr);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(surface, 0, 0, gdk_window_get_width(surface),
                                                   gdk_window_get_height(surface));
    ASSERT_NE(pixbuf, nullptr);
    EXPECT_TRUE(gdk_pixbuf_save(pixbuf, fileName.c_str(), "png", nullptr, nullptr));
    g_object_unref(pixbuf);
}
