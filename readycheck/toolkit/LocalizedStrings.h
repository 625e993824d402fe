// The application's default string table, compiled into the program, in the user's language.
#pragma once

#include <string>

// The text for key in the first language of the locale's fallback chain that has one, else in
// English; the key itself when the table lacks it.
std::string LocalizedString(const std::string& key);

// The English text for key, whatever the locale: for answers that scripts read, such as the
// JSON's advice. The key itself when the table lacks it.
std::string EnglishString(const std::string& key);
