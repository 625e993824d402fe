// Standard input, output and error as every library expects them: open.
#pragma once

#include <string>

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Called first in main, before
// anything opens a descriptor: otherwise the first one opened (the X connection) becomes standard
// error, and a log line written there corrupts it.
void OpenClosedStandardDescriptors();

// Keeps standard output for the answer and points descriptor 1 at standard error, so that
// whatever a driver prints there cannot land in the answer. Call it before any driver loads.
// Returns the answer's descriptor (closed on exec), or -1 with errno set.
int TakeStandardOutput();

// Writes the whole text, through short writes and interruptions; false on an error.
bool WriteAll(int descriptor, const std::string& text);
