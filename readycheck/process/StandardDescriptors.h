// Standard input, output and error as every library expects them: open.
#pragma once

#include <string>

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Called first in main, before
// anything opens a descriptor: otherwise the first one opened (the X connection) becomes standard
// error, and a log line written there corrupts it. Standard output found closed stays no place for
// an answer (TakeStandardOutput).
void OpenClosedStandardDescriptors();

// Keeps standard output for the answer and points descriptor 1 at standard error, so that
// whatever a driver prints there cannot land in the answer. Call it before any driver loads.
// Returns the answer's descriptor (closed on exec), or -1 with errno set: EBADF where standard
// output was closed when the program started.
int TakeStandardOutput();

// Writes the whole answer, through short writes and interruptions, and closes its descriptor.
// A reader that has gone is an error like any other (EPIPE), not the end of the program by
// SIGPIPE. Returns 0, or the error number of the first failure.
int WriteAnswer(int descriptor, const std::string& text);
