// Opens a web page in the desktop's default browser.
#pragma once

#include <string>

// False when no program takes the address (no browser is set up for it).
bool OpenURL(const std::string& url);
