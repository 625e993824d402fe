// The window from the keyboard: Tab moves through the controls in reading order, and each bottom
// button has a mnemonic of its own in every language.
#include <gtk/gtk.h>

#include <set>

#include "RunLoop.h"
#include "StandIns.h"

namespace {

using Keyboard = StandInWindowTest;

std::string AccessibleName(GtkWidget* widget) {
    return atk_object_get_name(gtk_widget_get_accessible(widget));
}

// Every label of the window that has a mnemonic, with its key.
void CollectMnemonics(GtkWidget* widget, std::vector<std::pair<GtkWidget*, guint>>* found) {
    if (GTK_IS_LABEL(widget) &&
        gtk_label_get_mnemonic_keyval(GTK_LABEL(widget)) != GDK_KEY_VoidSymbol) {
        found->emplace_back(widget,
                            gdk_keyval_to_lower(gtk_label_get_mnemonic_keyval(GTK_LABEL(widget))));
    }
    if (GTK_IS_CONTAINER(widget)) {
        gtk_container_forall(
            GTK_CONTAINER(widget),
            [](GtkWidget* child, gpointer data) {
                CollectMnemonics(child,
                                 static_cast<std::vector<std::pair<GtkWidget*, guint>>*>(data));
            },
            found);
    }
}

TEST_F(Keyboard, TabFollowsTheReadingOrderIdentityChecksEditionsButtons) {
    system.identity->at(1) = "llvmpipe (LLVM 15.0.6, 256 bits)";  // shows the rendering line's "?"
    launch(0x00);
    RunLoop::main().cancelDelayedCalls();
    controller->showVersionDuo();  // shows Duo's "!"
    RunLoop::main().cancelDelayedCalls();
    runUntil([] { return false; }, 0.2);  // laid out: Tab goes by where the controls are
    auto* window = static_cast<GtkWidget*>(outlet<Window>("oResultWindow")->widget());
    // The window starts on its first control; Tab goes round from there.
    std::vector<std::string> order;
    for (int press = 0; press <= 10; ++press) {
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
        order.push_back(focus != nullptr ? AccessibleName(focus) : "");
        pressKey(window, "Tab");
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{
                  "Explain: software rendering", "Explain: Hardware off-screen rendering",
                  "Explain: Shadows", "Explain: High-resolution lighting", "Explain: Anti-aliasing",
                  "Explain: the Duo edition's limits", "Compare editions…", "Copy Report",
                  "Review results", "Close", "Explain: software rendering"}));
}

TEST_F(Keyboard, EveryBottomButtonHasAMnemonicOfItsOwnInEveryLanguage) {
    std::vector<std::string> languages{"C"};
    gchar** tables = g_resources_enumerate_children("/org/readycheck/ReadyCheck/translations/",
                                                    G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    for (gchar** table = tables; table != nullptr && *table != nullptr; ++table) {
        languages.emplace_back(std::string(*table).substr(0, std::string(*table).find('.')));
    }
    g_strfreev(tables);
    ASSERT_GT(languages.size(), 1U);
    const std::string saved = g_getenv("LC_ALL") != nullptr ? g_getenv("LC_ALL") : "";
    for (const std::string& language : languages) {
        g_setenv("LC_ALL", language.c_str(), TRUE);
        launch(0x1F);
        RunLoop::main().cancelDelayedCalls();
        auto* copy = static_cast<GtkWidget*>(outlet<Button>("oCopyReportButton")->widget());
        std::vector<std::pair<GtkWidget*, guint>> mnemonics;
        CollectMnemonics(gtk_widget_get_toplevel(copy), &mnemonics);
        std::set<guint> keys;
        for (const auto& [label, key] : mnemonics) {
            EXPECT_TRUE(keys.insert(key).second) << language << ": " << gdk_keyval_name(key);
        }
        GList* bottom = gtk_container_get_children(GTK_CONTAINER(gtk_widget_get_parent(copy)));
        for (GList* item = bottom; item != nullptr; item = item->next) {
            if (GTK_IS_BUTTON(item->data)) {
                GtkWidget* label = gtk_bin_get_child(GTK_BIN(item->data));
                EXPECT_TRUE(std::any_of(mnemonics.begin(), mnemonics.end(),
                                        [&](const auto& found) { return found.first == label; }))
                    << language << ": " << AccessibleName(GTK_WIDGET(item->data));
            }
        }
        g_list_free(bottom);
    }
    g_setenv("LC_ALL", saved.c_str(), TRUE);
}

}  // namespace
