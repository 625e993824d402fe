// Tab moves through the window's controls in reading order: identity, checks, editions, buttons.
#include <gtk/gtk.h>

#include "RunLoop.h"
#include "StandIns.h"

namespace {

using Keyboard = StandInWindowTest;

TEST_F(Keyboard, TabFollowsTheReadingOrder) {
    system.identity->at(1) = "llvmpipe (LLVM 15.0.6, 256 bits)";  // shows the rendering line's "?"
    launch(0x00);
    RunLoop::main().cancelDelayedCalls();
    controller->showVersionDuo();  // shows Duo's "!"
    RunLoop::main().cancelDelayedCalls();
    // Tab goes by where the controls are: wait until the "!" has its place too.
    auto* bang = static_cast<GtkWidget*>(outlet<Button>("oDuoBangButton")->widget());
    ASSERT_TRUE(runUntil([&] { return gtk_widget_get_allocated_width(bang) > 1; }));
    auto* window = static_cast<GtkWidget*>(outlet<Window>("oResultWindow")->widget());
    // The window starts on its first control; Tab goes round from there.
    std::vector<std::string> order;
    for (int press = 0; press <= 10; ++press) {
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
        order.emplace_back(focus != nullptr ? atk_object_get_name(gtk_widget_get_accessible(focus))
                                            : "");
        pressKey(window, "Tab");
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{
                  "Explain: software rendering", "Explain: Hardware off-screen rendering",
                  "Explain: Shadows", "Explain: High-resolution lighting", "Explain: Anti-aliasing",
                  "Explain: the Duo edition's limits", "Compare editions…", "Copy Report",
                  "Review results", "Close", "Explain: software rendering"}));
}

}  // namespace
