// The desktop's clipboard, through the toolkit.
#pragma once

#include <string>

// Offers text on the clipboard; it stays there while the program runs, and longer where a
// clipboard manager takes a copy. Bytes that are not UTF-8 are replaced.
void SetClipboardText(const std::string& text);

// Asks the desktop's clipboard manager, where one runs, to keep a copy of the text this program
// put on the clipboard; nothing when it no longer owns the clipboard. Waits for the manager at
// most the seconds given, or until EndClipboardHandOver. Called as the program ends.
void HandClipboardToManager(double seconds);
// Ends the wait for the manager at once (a signal during it); nothing when there is none.
void EndClipboardHandOver();

// For tests: the clipboard's text, read back through the toolkit; empty when it holds none.
std::string ClipboardText();
