// The plain-text report of a check that the user can copy and share, and the window's texts that
// the report repeats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Facts.h"

// The first video-memory text: whole megabytes, truncated toward zero ("256 MB").
std::string VideoMemoryText(int64_t bytes);

// The first video-memory text, wrapped in the kind's format once the profiler told it: the
// video-memory line as the window shows it.
std::string VideoMemoryLine(const CardFacts& facts);

// The rendering line as the window shows it.
std::string RenderingText(Rendering rendering);

// One text per line, every one from the string table, each other card's block after the main
// card's. A value from the driver or the profiler
// never starts a line of its own: its control characters become spaces.
std::vector<std::string> ReportLines(const Facts& facts);

// The lines, each ended by a newline.
std::string ReportText(const Facts& facts);
