#include "StandardDescriptors.h"

#include <fcntl.h>

#include <cerrno>

void OpenClosedStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            // The lower ones are open by now, so this takes the closed one.
            open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        }
    }
}
