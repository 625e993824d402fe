// Opens a web page in the desktop's default browser.
#pragma once

#include <string>

void OpenURL(const std::string& url);
