// The words that tell of another graphics card: its state, how to start a program on it, and
// its row in the window.
#pragma once

#include <string>
#include <vector>

#include "CardRowsView.h"
#include "Facts.h"

// A verdict in words, as the report and the rows say it ("full support").
std::string SupportText(EditionSupport support);

// What the card's check has come to; empty once it is checked.
std::string CardStateText(const OtherCard& card);

// The card's environment as assignments to put in front of a command, each value quoted for a
// POSIX shell where it needs it: "DRI_PRIME=pci-0000_01_00_0".
std::string EnvironmentCommandLine(const OtherCard& card);

// How to start a program on the card, in one sentence: the desktop's menu item where
// switcheroo-control lists the card, else the variables in front of the program's command.
std::string HowToStartText(const OtherCard& card);

// The window's row for each card, in order.
std::vector<CardRow> OtherCardRows(const std::vector<OtherCard>& cards);
