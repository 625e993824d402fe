// The window's section of other graphics cards: a row per card with its name, a verdict per
// edition in words (or what its check has come to) and a button. The rows scroll where they
// would make the window taller than its screen.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

// One row as the window shows it.
struct CardRow {
    std::string name;
    std::vector<std::string> verdicts;      // Basic, Advanced, Duo; empty until checked
    std::vector<std::string> verdictNames;  // what a screen reader says for each verdict
    std::string state;                      // shown in place of the verdicts
    std::string stateName;                  // what a screen reader says for the state
    std::string buttonTitle;
    std::string buttonName;  // the button's accessible name, which names the card
    bool operator==(const CardRow&) const = default;
};

class CardRowsView : public Control {
public:
    using Press = std::function<void(std::size_t row)>;
    using Control::Control;

    // Shows the rows, the section only when there is one. A row's button reports its index.
    // The number of rows is set once; later calls change the rows' texts in place, so that a
    // button keeps its place and focus.
    void setRows(const std::vector<CardRow>& rows, Press press);

    // The rows as the widgets show them, accessible names included.
    std::vector<CardRow> shownRows() const;
    // Presses a row's button as a click does.
    void pressButton(std::size_t row);

private:
    struct RowWidgets {
        void* name;
        std::vector<void*> verdicts;
        void* state;
        void* button;
    };
    void build(std::size_t count);
    void fitScreen();
    static void fill(const RowWidgets& widgets, const CardRow& row);

    std::vector<RowWidgets> mRows;
    Press mPress;
};
