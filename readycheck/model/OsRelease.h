// What the text of an os-release file says: its assignments, the distribution's name and version.
#pragma once

#include <map>
#include <string>

// Every NAME=value assignment of an os-release text, values unquoted as a shell would.
std::map<std::string, std::string> OsReleaseFields(const std::string& text);

// "Debian GNU/Linux 12 (bookworm)": NAME and VERSION (or VERSION_ID), else PRETTY_NAME; empty
// when the text names no distribution. Quoted values are unquoted as a shell would.
std::string DistributionFromOsRelease(const std::string& text);
