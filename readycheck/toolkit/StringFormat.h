// Formats with object placeholders: each "%@" takes the next argument, "%%" is a percent sign.
#pragma once

#include <string>
#include <vector>

std::string StringWithFormat(const std::string& format, const std::vector<std::string>& arguments);
