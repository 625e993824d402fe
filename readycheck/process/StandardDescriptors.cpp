#include "StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

void OpenClosedStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            // The lower ones are open by now, so this takes the closed one.
            open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        }
    }
}

// Closed on exec: a child left running (the profiler's own) must not hold the reader's pipe open.
int TakeStandardOutput() {
    const int answer = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (answer >= 0 && dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        const int error = errno;
        close(answer);
        errno = error;
        return -1;
    }
    return answer;
}

bool WriteAll(int descriptor, const std::string& text) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = write(descriptor, text.data() + written, text.size() - written);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}
