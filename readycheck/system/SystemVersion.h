// The operating-system version, as a binary-coded decimal answer (0x1040 for 10.4.0): the
// running kernel's release on Linux.
#pragma once

#include <cstdint>
#include <string>

// Versions at or below this answer are refused. 3.2 is the oldest kernel that this system's C
// library runs on.
constexpr int32_t kSystemVersionRefusalThreshold = 0x031F;

int32_t GestaltSystemVersion();
std::string OperatingSystemVersionString();

// "6.1.0-18-amd64" gives 0x0610; each part past the major number is capped at 9, as one BCD
// digit holds.
int32_t SystemVersionFromRelease(const std::string& release);
