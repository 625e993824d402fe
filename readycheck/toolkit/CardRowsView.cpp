#include "CardRowsView.h"

#include <gtk/gtk.h>

#include <algorithm>

#include "RunLoop.h"
#include "ScreenRoom.h"

namespace {

constexpr int kEditionColumns = 3;
constexpr int kButtonColumn = kEditionColumns + 1;
constexpr int kNameWidthChars = 28;
constexpr int kStateWidthChars = 36;
constexpr const char* kRowKey = "readycheck-row";
// The least height of the rows' view where they scroll: a few rows.
constexpr int kLeastScrolledHeight = 120;

GtkWidget* Widget(void* widget) {
    return static_cast<GtkWidget*>(widget);
}

GtkWidget* NewLabel(float xalign, int widthChars) {
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_label_set_xalign(GTK_LABEL(label), xalign);
    if (widthChars > 0) {
        gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
        gtk_label_set_max_width_chars(GTK_LABEL(label), widthChars);
    }
    return label;
}

void SetText(void* label, const std::string& text) {
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    gtk_label_set_text(GTK_LABEL(label), valid);
    g_free(valid);
}

std::string Text(void* label) {
    return gtk_label_get_text(GTK_LABEL(label));
}

void SetAccessibleName(void* widget, const std::string& name) {
    atk_object_set_name(gtk_widget_get_accessible(Widget(widget)), name.c_str());
}

std::string AccessibleName(void* widget) {
    const char* name = atk_object_get_name(gtk_widget_get_accessible(Widget(widget)));
    return name != nullptr ? name : "";
}

// The section's rows scroll inside it: frame, scrolled window, viewport, grid.
GtkScrolledWindow* Scroller(void* section) {
    return GTK_SCROLLED_WINDOW(gtk_bin_get_child(GTK_BIN(section)));
}

GtkGrid* Grid(void* section) {
    return GTK_GRID(gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(Scroller(section))))));
}

}  // namespace

void CardRowsView::setRows(const std::vector<CardRow>& rows, Press press) {
    mPress = std::move(press);
    if (mRows.empty() && !rows.empty()) {
        build(rows.size());
    }
    for (std::size_t i = 0; i < rows.size() && i < mRows.size(); ++i) {
        fill(mRows[i], rows[i]);
    }
    setHidden(mRows.empty());
    fitScreen();
}

// The rows take their height at the width they get: the scrolled window would ask for their
// height at their narrowest, where names wrap. Where they would make the window pass the bottom
// of the screen (sixty cards make it three screens high), they scroll in the height that the
// rest of the window leaves them.
void CardRowsView::fitScreen() {
    GtkScrolledWindow* scroller = Scroller(widget());
    auto* grid = GTK_WIDGET(Grid(widget()));
    int width = 0;
    gtk_widget_get_preferred_width(grid, nullptr, &width);
    int rows = 0;
    gtk_widget_get_preferred_height_for_width(grid, width, nullptr, &rows);
    gtk_scrolled_window_set_max_content_height(scroller, rows);
    GtkWidget* window = gtk_widget_get_toplevel(Widget(widget()));
    const int room = HeightToScreenBottom(window);
    GtkRequisition wanted{};
    gtk_widget_get_preferred_size(window, nullptr, &wanted);
    if (isHidden() || room <= 0 || wanted.height <= room) {
        return;
    }
    gtk_scrolled_window_set_max_content_height(
        scroller, std::max(kLeastScrolledHeight, rows - (wanted.height - room)));
}

void CardRowsView::build(std::size_t count) {
    GtkGrid* grid = Grid(widget());
    // A row's button that takes the focus scrolls into view.
    gtk_container_set_focus_vadjustment(GTK_CONTAINER(grid),
                                        gtk_scrolled_window_get_vadjustment(Scroller(widget())));
    for (std::size_t i = 0; i < count; ++i) {
        const int top = static_cast<int>(i) + 1;  // below the editions' names
        RowWidgets row{NewLabel(0.0F, kNameWidthChars),
                       {},
                       NewLabel(0.0F, kStateWidthChars),
                       gtk_button_new()};
        gtk_widget_set_hexpand(Widget(row.name), TRUE);
        gtk_grid_attach(grid, Widget(row.name), 0, top, 1, 1);
        for (int column = 1; column <= kEditionColumns; ++column) {
            row.verdicts.push_back(NewLabel(0.5F, 0));
            gtk_grid_attach(grid, Widget(row.verdicts.back()), column, top, 1, 1);
        }
        gtk_grid_attach(grid, Widget(row.state), 1, top, kEditionColumns, 1);
        gtk_grid_attach(grid, Widget(row.button), kButtonColumn, top, 1, 1);
        g_object_set_data(G_OBJECT(row.button), kRowKey, GSIZE_TO_POINTER(i));
        g_signal_connect(row.button, "clicked", G_CALLBACK(+[](GtkButton* button, gpointer self) {
                             auto* view = static_cast<CardRowsView*>(self);
                             const std::size_t index =
                                 GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(button), kRowKey));
                             RunLoop::main().invokeGuarded([&] {
                                 if (view->mPress) {
                                     view->mPress(index);
                                 }
                             });
                         }),
                         this);
        gtk_widget_show(Widget(row.name));
        gtk_widget_show(Widget(row.button));
        mRows.push_back(std::move(row));
    }
}

void CardRowsView::fill(const RowWidgets& widgets, const CardRow& row) {
    SetText(widgets.name, row.name);
    const bool checked = !row.verdicts.empty();
    for (std::size_t i = 0; i < widgets.verdicts.size(); ++i) {
        SetText(widgets.verdicts[i], i < row.verdicts.size() ? row.verdicts[i] : "");
        SetAccessibleName(widgets.verdicts[i],
                          i < row.verdictNames.size() ? row.verdictNames[i] : "");
        gtk_widget_set_visible(Widget(widgets.verdicts[i]), checked);
    }
    SetText(widgets.state, row.state);
    SetAccessibleName(widgets.state, row.stateName);
    gtk_widget_set_visible(Widget(widgets.state), !checked);
    gtk_button_set_label(GTK_BUTTON(widgets.button), row.buttonTitle.c_str());
    SetAccessibleName(widgets.button, row.buttonName);
}

std::vector<CardRow> CardRowsView::shownRows() const {
    std::vector<CardRow> rows;
    for (const RowWidgets& widgets : mRows) {
        CardRow row;
        row.name = Text(widgets.name);
        for (void* verdict : widgets.verdicts) {
            if (gtk_widget_get_visible(Widget(verdict))) {
                row.verdicts.push_back(Text(verdict));
                row.verdictNames.push_back(AccessibleName(verdict));
            }
        }
        if (gtk_widget_get_visible(Widget(widgets.state))) {
            row.state = Text(widgets.state);
            row.stateName = AccessibleName(widgets.state);
        }
        row.buttonTitle = gtk_button_get_label(GTK_BUTTON(widgets.button));
        row.buttonName = AccessibleName(widgets.button);
        rows.push_back(std::move(row));
    }
    return rows;
}

void CardRowsView::pressButton(std::size_t row) {
    gtk_button_clicked(GTK_BUTTON(mRows.at(row).button));
}
