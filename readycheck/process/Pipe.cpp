#include "Pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "PlatformException.h"

namespace {

// Fewer, larger reads for large outputs; a smaller pipe still works.
constexpr int kPreferredPipeSize = 1024 * 1024;

}  // namespace

std::shared_ptr<Pipe> Pipe::pipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw PlatformException("NSFileHandleOperationException",
                                std::string("cannot create a pipe: ") + std::strerror(errno));
    }
    fcntl(fds[0], F_SETPIPE_SZ, kPreferredPipeSize);
    return std::shared_ptr<Pipe>(new Pipe(fds[0], fds[1]));
}

Pipe::Pipe(int reading, int writing) : mReading(reading), mWriting(writing) {}

Pipe::~Pipe() {
    closeWritingEnd();
}

void Pipe::closeWritingEnd() {
    if (mWriting >= 0) {
        close(mWriting);
        mWriting = -1;
    }
}
