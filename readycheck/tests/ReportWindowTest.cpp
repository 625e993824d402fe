// Start-up and "Copy Report" in the real window with the stand-in ProbeKit: during the reveal, and
// once the profiler has run.
#include <gmock/gmock.h>
#include <gtk/gtk.h>

#include <cstdlib>

#include "Clipboard.h"
#include "RunLoop.h"
#include "StandIns.h"

namespace {

using ::testing::IsSupersetOf;
using CopyReport = StandInWindowTest;
using OtherCardRow = StandInWindowTest;

TEST_F(CopyReport, StartsTheRunnerThenProbesAndTellsTheResultsThenTheDevices) {
    setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/amd-discrete-1g", 1);
    system.identity = {"Vendor \"V\" \xe2\x84\xa2", "Renderer R", "1.5 Stand-in 9"};
    system.renderers = {{(128 << 20) + (1 << 20) - 1}};  // whole megabytes, truncated
    launch(0x47);
    unsetenv("SYSTEM_PROFILER_MACHINE");
    EXPECT_EQ(system.events,
              (std::vector<std::string>{
                  "task in /: " + Controller::profilerPath() + " -detailLevel mini -xml",
                  "VXGetDriverOpenGLFeatures, a child started", "VXGetDriverOpenGLIdentity",
                  "VXStringArrayDispose"}));
    EXPECT_THAT(
        copyReport(false),
        IsSupersetOf({"Manufacturer: Vendor \"V\" \xe2\x84\xa2", "Graphics card: Renderer R",
                      "Driver version: 1.5 Stand-in 9", "Video memory: 128 MB",
                      "Hardware off-screen rendering: pass", "Shadows: pass",
                      "High-resolution lighting: fail", "Anti-aliasing: fail",
                      "Duo edition: significant limitations", "Feature mask: 0x47",
                      "Display controllers: the display profiler is still running"}));
    EXPECT_EQ(field("oReportCopied")->stringValue(), "Report copied to the clipboard");
    ASSERT_TRUE(runReveal());
    ASSERT_TRUE(runUntil([&] { return field("oVRAM")->stringValue() != "128 MB"; }));
    ASSERT_TRUE(runUntil([&] { return controller->facts().otherCards.empty(); }));
    EXPECT_TRUE(outlet<CardRowsView>("oOtherCards")->isHidden()) << "one card: no section";
    const std::vector<std::string> lines = copyReport(true);
    EXPECT_THAT(lines, IsSupersetOf(
                           {"ReadyCheck " READYCHECK_VERSION, "Video memory: 128 MB (dedicated)"}));
    EXPECT_THAT(lines,
                ::testing::Contains(::testing::MatchesRegex(
                    "Display controller driving the screen: .+ \\(Advanced Micro Devices.+, "
                    "PCI 0x1002:0x[0-9a-f]{4} at 0000:.+\\); driver: amdgpu; memory: 1 GB")));
}

// The confirmation has room of its own: nothing moves, and no button leaves a small screen.
TEST_F(CopyReport, TheConfirmationKeepsTheWindowsSizeInEnglishAndGerman) {
    const std::string saved = g_getenv("LC_ALL") != nullptr ? g_getenv("LC_ALL") : "";
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        g_setenv("LC_ALL", locale, TRUE);
        launch(0x1F);
        RunLoop::main().cancelDelayedCalls();  // the reveal's marks take their own room
        const auto size = [&] {
            runUntil([] { return false; }, 0.2);
            GdkWindow* window = gtk_widget_get_window(
                static_cast<GtkWidget*>(outlet<Window>("oResultWindow")->widget()));
            return std::pair(gdk_window_get_width(window), gdk_window_get_height(window));
        };
        const auto before = size();
        copyReport(false);
        EXPECT_NE(field("oReportCopied")->stringValue(), "") << locale;
        EXPECT_EQ(size(), before) << locale;
    }
    g_setenv("LC_ALL", saved.c_str(), TRUE);
}

// Without switcheroo-control the row's button gives the variables as a command line to copy. The
// tests' stage holds no helper: the card could not be checked.
TEST_F(OtherCardRow, WithoutTheDesktopsServiceGivesTheVariablesToCopy) {
    setenv("SYSTEM_PROFILER_MACHINE", RECORDED_MACHINES "/laptop-intel-nvidia", 1);
    launch(0x3F);
    unsetenv("SYSTEM_PROFILER_MACHINE");
    RunLoop::main().cancelDelayedCalls();  // the reveal is another test's
    const auto rows = [&] { return outlet<CardRowsView>("oOtherCards")->shownRows(); };
    ASSERT_TRUE(runUntil([&] {
        return !controller->facts().otherCards.empty() &&
               controller->facts().otherCards[0].status == CardStatus::Failed;
    }));
    EXPECT_FALSE(outlet<CardRowsView>("oOtherCards")->isHidden());
    ASSERT_EQ(rows().size(), 1U);
    EXPECT_EQ(rows()[0].name, "NVIDIA Corporation GA107M [GeForce RTX 3050 Mobile]");
    EXPECT_THAT(rows()[0].state,
                ::testing::StartsWith("Could not be checked: The program could not be started"));
    EXPECT_EQ(rows()[0].buttonName,
              "How to start the 3D application on NVIDIA Corporation GA107M [GeForce RTX 3050 "
              "Mobile]");
    const std::string command =
        "__NV_PRIME_RENDER_OFFLOAD=1 __GLX_VENDOR_LIBRARY_NAME=nvidia "
        "__VK_LAYER_NV_optimus=NVIDIA_only";
    SetClipboardText("");
    answerKey = "Escape";  // closes it, copying nothing
    outlet<CardRowsView>("oOtherCards")->pressButton(0);
    EXPECT_EQ(ClipboardText(), "");
    answerResponse = kAlertSecondButtonReturn;
    outlet<CardRowsView>("oOtherCards")->pressButton(0);
    ASSERT_EQ(alerts.size(), 2U);
    EXPECT_THAT(alerts[1].detail, ::testing::HasSubstr("\n\n" + command + "\n\n"));
    EXPECT_EQ(alerts[1].buttons, 2U);
    EXPECT_EQ(ClipboardText(), command);
}

// The top-left corner and size of a window on screen.
GdkRectangle Placed(GtkWidget* window) {
    GdkRectangle frame{};
    gdk_window_get_frame_extents(gtk_widget_get_window(window), &frame);
    return frame;
}

GtkWidget* ShownAlert() {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* item = windows; item != nullptr; item = item->next) {
        if (GTK_IS_DIALOG(item->data) && gtk_widget_get_mapped(GTK_WIDGET(item->data))) {
            found = GTK_WIDGET(item->data);
        }
    }
    g_list_free(windows);
    return found;
}

// How far the alert's centre stands from the window's, across and down; a pixel is rounding.
int OffCentre(GtkWidget* alert, GtkWidget* window) {
    const GdkRectangle a = Placed(alert);
    const GdkRectangle w = Placed(window);
    return std::abs((a.x + a.width / 2) - (w.x + w.width / 2)) +
           std::abs((a.y + a.height / 2) - (w.y + w.height / 2));
}

// Sixty cards, whose rows arrive while the summary is up: they scroll inside a window that fits
// the screen, with its buttons on it and Tab going through every row to them, the rows scrolling
// along; the summary stays centred on the window as it grows.
TEST_F(OtherCardRow, SixtyCardsScrollInAWindowThatFitsTheScreen) {
    std::vector<CardRow> rows;
    for (int i = 1; i <= 60; ++i) {
        const std::string name = "Stand-in card " + std::to_string(i);
        rows.push_back({name, {"full", "full", "limited"}, {"b", "a", "d"}, "", "", "How", name});
    }
    launch(0x1F);
    auto* window = static_cast<GtkWidget*>(outlet<Window>("oResultWindow")->widget());
    CardRowsView* section = outlet<CardRowsView>("oOtherCards");
    int offCentre = -1;
    whileNextAlertIsOpen = [&] {
        const int before = Placed(window).height;
        section->setRows(rows, nullptr);
        GtkWidget* alert = ShownAlert();
        runUntil([&] { return Placed(window).height > before && OffCentre(alert, window) <= 1; });
        offCentre = OffCentre(alert, window);
    };
    ASSERT_TRUE(runReveal());
    EXPECT_LE(offCentre, 1) << "pixels between the summary's centre and the window's";

    GdkRectangle screen{};
    gdk_monitor_get_workarea(
        gdk_display_get_monitor_at_window(gdk_display_get_default(), gtk_widget_get_window(window)),
        &screen);
    const GdkRectangle placed = Placed(window);
    EXPECT_GE(placed.y, screen.y);
    EXPECT_LE(placed.y + placed.height, screen.y + screen.height) << "height " << placed.height;
    auto* copy = static_cast<GtkWidget*>(outlet<Button>("oCopyReportButton")->widget());
    int bottom = 0;
    gtk_widget_translate_coordinates(copy, window, 0, gtk_widget_get_allocated_height(copy),
                                     nullptr, &bottom);
    EXPECT_LE(placed.y + bottom, screen.y + screen.height);

    GtkAdjustment* scroll = gtk_scrolled_window_get_vadjustment(
        GTK_SCROLLED_WINDOW(gtk_bin_get_child(GTK_BIN(section->widget()))));
    std::vector<std::string> reached;
    for (int press = 0; press < 100 && (reached.empty() || reached.back() != "Close"); ++press) {
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
        const std::string name = atk_object_get_name(gtk_widget_get_accessible(focus));
        if (name.starts_with("Stand-in card ")) {
            GtkAllocation row{};
            gtk_widget_get_allocation(focus, &row);
            const double shown = gtk_adjustment_get_value(scroll);
            EXPECT_TRUE(row.y >= shown &&
                        row.y + row.height <= shown + gtk_adjustment_get_page_size(scroll))
                << name;
        }
        reached.push_back(name);
        pressKey(window, "Tab");
        runUntil([] { return false; }, 0.02);
    }
    EXPECT_THAT(reached, ::testing::Contains("Stand-in card 60"));
    EXPECT_THAT(reached, ::testing::IsSupersetOf({"Compare editions…", "Copy Report", "Close"}));
}

}  // namespace
