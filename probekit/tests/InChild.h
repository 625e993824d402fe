// Runs a part of a test in a child process with its environment changed: the backend is chosen,
// the feature mask cached and Mesa's overrides read once per process.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Variables to set, or to unset where the value is null.
using Environment = std::vector<std::pair<const char*, const char*>>;

// What body returned in a child whose environment was changed as given.
std::string InChild(const Environment& changes, std::string (*body)());
