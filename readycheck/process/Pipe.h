// A pipe: a reading file handle and a writing end for a child process.
#pragma once

#include <memory>

#include "FileHandle.h"

class Pipe {
public:
    // Throws PlatformException when no pipe can be made.
    static std::shared_ptr<Pipe> pipe();
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    FileHandle& fileHandleForReading() { return mReading; }
    int writingDescriptor() const { return mWriting; }
    // After a launch: the child holds its own copy, so end of file arrives when it closes it.
    void closeWritingEnd();

private:
    Pipe(int reading, int writing);

    FileHandle mReading;
    int mWriting;
};
