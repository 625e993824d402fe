// Waiting, outside any run loop, for a condition that another process brings about.
#pragma once

#include <functional>

// Checks the condition every 50 ms; true once it holds within the time.
bool WaitFor(const std::function<bool()>& done, double seconds);
