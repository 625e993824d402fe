// The application's default string table, compiled into the program.
#pragma once

#include <string>

// The text for key, or the key itself when the table lacks it.
std::string LocalizedString(const std::string& key);
