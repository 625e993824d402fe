#include "FileHandle.h"

#include <errno.h>
#include <glib-unix.h>
#include <poll.h>
#include <unistd.h>

#include "NotificationCenter.h"

const std::string kFileHandleReadCompletionNotification = "NSFileHandleReadCompletionNotification";
const std::string kFileHandleNotificationDataItem = "NSFileHandleNotificationDataItem";

namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 20;

}  // namespace

FileHandle::FileHandle(int descriptor) : mDescriptor(descriptor) {}

FileHandle::~FileHandle() {
    detachWatch();
    if (mModeListener != 0) {
        RunLoop::main().removeModeListener(mModeListener);
    }
    close(mDescriptor);
}

void FileHandle::readInBackgroundAndNotifyForModes(const RunLoopModes& modes) {
    if (mPending) {
        return;
    }
    mPending = true;
    mModes = modes;
    mModeListener = RunLoop::main().addModeListener([this] { attachWatchIfAllowed(); });
    attachWatchIfAllowed();
}

void FileHandle::attachWatchIfAllowed() {
    const bool allowed = RunLoop::main().currentModeIsIn(mModes);
    if (allowed && mWatch == 0) {
        mWatch = g_unix_fd_add_full(
            G_PRIORITY_DEFAULT, mDescriptor,
            static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
            [](int, GIOCondition, void* self) {
                static_cast<FileHandle*>(self)->completeRead();
                return G_SOURCE_REMOVE;
            },
            this, nullptr);
    } else if (!allowed) {
        detachWatch();
    }
}

void FileHandle::detachWatch() {
    if (mWatch != 0) {
        g_source_remove(mWatch);
        mWatch = 0;
    }
}

void FileHandle::completeRead() {
    mWatch = 0;  // its callback returns G_SOURCE_REMOVE
    RunLoop::main().removeModeListener(mModeListener);
    mModeListener = 0;
    mPending = false;
    Data data = readChunk();
    // The handler may start the next read or destroy this handle: nothing is touched after.
    NotificationCenter::defaultCenter().postNotificationName(
        kFileHandleReadCompletionNotification, this, {{kFileHandleNotificationDataItem, data}});
}

Data FileHandle::readChunk() {
    // The last chunk is reused once every receiver has let it go: a fresh block of this size
    // would be mapped and unmapped by the allocator for every read.
    if (mChunk == nullptr || mChunk.use_count() > 1) {
        mChunk = std::make_shared<ByteBuffer>(kChunkSize);
    }
    mChunk->clear();
    Data data = mChunk;
    for (;;) {
        const ssize_t count = read(mDescriptor, data->prepare(kChunkSize), kChunkSize);
        if (count >= 0) {
            data->commit(static_cast<std::size_t>(count));
            return data;
        }
        if (errno != EINTR) {
            return data;  // a read error ends the stream like end of file
        }
    }
}

Data FileHandle::availableDataBefore(Deadline deadline) {
    pollfd readable{mDescriptor, POLLIN, 0};
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return nullptr;  // even with bytes waiting: a writer that never stops must not hold us
        }
        const int ready = poll(&readable, 1, static_cast<int>(left.count()));
        if (ready > 0) {
            return readChunk();  // bytes, or end of file
        }
        if (ready == 0 || errno != EINTR) {
            return nullptr;
        }
    }
}
