// The desktop's clipboard, through the toolkit.
#pragma once

#include <string>

// Offers text on the clipboard; it stays there while the program runs, and longer where a
// clipboard manager takes a copy. Bytes that are not UTF-8 are replaced.
void SetClipboardText(const std::string& text);

// For tests: the clipboard's text, read back through the toolkit; empty when it holds none.
std::string ClipboardText();
