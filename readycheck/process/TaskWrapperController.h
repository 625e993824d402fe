// How a task runner reports to its controller.
#pragma once

class TaskWrapper;

class TaskWrapperController {
public:
    // Sent first by startProcess, before the child exists, even when its launch then fails.
    virtual void processStarted(TaskWrapper* task) = 0;
    // Sent once per started run: true when the output reached end of file, false when the
    // launch failed. The runner destroys itself right after this returns.
    virtual void processFinished(TaskWrapper* task, bool success) = 0;

protected:
    ~TaskWrapperController() = default;
};
