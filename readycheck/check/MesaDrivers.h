// The Mesa DRI drivers that draw for a kernel graphics driver.
#pragma once

#include <string>
#include <vector>

// The driver files Mesa would load for the kernel driver, any one of which draws for it
// ("iris_dri.so", "crocus_dri.so", "i965_dri.so" for i915); none for a driver that Mesa has no
// 3D driver for.
std::vector<std::string> DriDriverFiles(const std::string& kernelDriver);

// The kernel drivers that only show a picture and have no 3D at all: mgag200, ast, bochs ...
bool IsBasicDisplayDriver(const std::string& kernelDriver);
