// The distribution's name and version from the text of an os-release file.
#pragma once

#include <string>

// "Debian GNU/Linux 12 (bookworm)": NAME and VERSION (or VERSION_ID), else PRETTY_NAME; empty
// when the text names no distribution. Quoted values are unquoted as a shell would.
std::string DistributionFromOsRelease(const std::string& text);
