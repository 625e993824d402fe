// A readable file descriptor with one asynchronous read at a time on the main run loop.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "ByteBuffer.h"
#include "RunLoop.h"

using Deadline = std::chrono::steady_clock::time_point;

extern const std::string kFileHandleReadCompletionNotification;
extern const std::string kFileHandleNotificationDataItem;

class FileHandle {
public:
    explicit FileHandle(int descriptor);  // takes ownership
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Starts one read. When bytes or end of file arrive while the loop runs in one of the modes,
    // posts kFileHandleReadCompletionNotification with this handle as object and the bytes
    // (none at end of file) under kFileHandleNotificationDataItem. A read already pending is
    // left as it is.
    void readInBackgroundAndNotifyForModes(const RunLoopModes& modes);

    // Waits for at least one byte until the deadline; returns what is available, empty at end
    // of file, and nothing once the deadline has passed. The bytes stay valid while the
    // receiver holds the Data.
    Data availableDataBefore(Deadline deadline);

    int fileDescriptor() const { return mDescriptor; }

private:
    void attachWatchIfAllowed();
    void detachWatch();
    void completeRead();
    Data readChunk();

    int mDescriptor;
    RunLoopModes mModes;
    bool mPending = false;
    unsigned int mWatch = 0;
    uint64_t mModeListener = 0;
    Data mChunk;
};
