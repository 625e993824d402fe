#include "StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>

namespace {

bool sOutputWasClosed = false;

// SIGPIPE blocked on this thread for the duration; the one that a write to a reader gone raised is
// taken back before it is unblocked, so that it is never delivered.
class SigpipeHeld {
public:
    SigpipeHeld() {
        sigemptyset(&mPipe);
        sigaddset(&mPipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &mPipe, &mPrevious);
    }
    ~SigpipeHeld() {
        const timespec now{};
        sigtimedwait(&mPipe, nullptr, &now);  // one at most: a pending signal does not queue
        pthread_sigmask(SIG_SETMASK, &mPrevious, nullptr);
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t mPipe{};
    sigset_t mPrevious{};
};

int WriteAll(int descriptor, const std::string& text) {
    const SigpipeHeld held;
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = write(descriptor, text.data() + written, text.size() - written);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

}  // namespace

void OpenClosedStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            sOutputWasClosed = sOutputWasClosed || descriptor == STDOUT_FILENO;
            // The lower ones are open by now, so this takes the closed one.
            open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        }
    }
}

// Closed on exec: a child left running (the profiler's own) must not hold the reader's pipe open.
int TakeStandardOutput() {
    if (sOutputWasClosed) {
        errno = EBADF;
        return -1;
    }
    const int answer = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (answer >= 0 && dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        const int error = errno;
        close(answer);
        errno = error;
        return -1;
    }
    return answer;
}

int WriteAnswer(int descriptor, const std::string& text) {
    const int error = WriteAll(descriptor, text);
    // NOTE: some file systems (NFS) report a write that failed only when the file is closed.
    // Linux closes the descriptor even when close is interrupted.
    if (close(descriptor) != 0 && errno != EINTR && error == 0) {
        return errno;
    }
    return error;
}
