// Standard input, output and error as every library expects them: open.
#pragma once

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Called first in main, before
// anything opens a descriptor: otherwise the first one opened (the X connection) becomes standard
// error, and a log line written there corrupts it.
void OpenClosedStandardDescriptors();
