// What still runs, as /proc shows it: a test's witness that it left nothing behind.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

// Whether this process has a child: one still running, or with those that ended and are not yet
// collected counted as well. Collects nothing: that is left to whoever started them.
bool HasChild(bool runningOnly = false);
// For a subreaper, to which orphans come back: collects the children that end; true once none is
// left within the time but those kept (servers of its own for the runs it watches).
bool NoChildLeft(double seconds, const std::vector<pid_t>& kept = {});
// Whether a process runs the executable.
bool Runs(const std::filesystem::path& executable);
// True once no running process's command line (its arguments joined by spaces) matches the
// extended regular expression, as pgrep -f matches it, within the time; kills those left then.
bool GoneWithin(const std::string& pattern, double seconds);
