// What a report tells of the system the program runs on.
#pragma once

#include <string>

// The text of /etc/os-release, else of /usr/lib/os-release; empty when neither can be read.
std::string OsReleaseText();

// The running kernel's release, "6.1.0-18-amd64"; empty when unknown.
std::string RunningKernelRelease();
