// The main run loop with modes, over the GLib main loop. Delayed calls fire only in the default
// mode; reads complete in the modes they were started for; a modal panel runs its nested loop in
// the modal-panel mode.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using RunLoopMode = std::string;
using RunLoopModes = std::vector<RunLoopMode>;

extern const RunLoopMode kDefaultRunLoopMode;
extern const RunLoopMode kModalPanelRunLoopMode;

// Thrown by the application's terminate so that nothing after it runs; the run loop catches it
// where it calls out and ends the loop.
struct ApplicationTerminating {};

class RunLoop {
public:
    using Call = std::function<void()>;
    using ModeListener = std::function<void()>;

    static RunLoop& main();

    const RunLoopMode& currentMode() const { return mModes.back(); }
    bool currentModeIsIn(const RunLoopModes& modes) const;

    // Runs the call once, delay seconds from now, when the loop runs in the default mode.
    void performAfterDelay(Call call, double delay);
    // Drops every delayed call not yet run.
    void cancelDelayedCalls();
    // Runs the call once, delay seconds from now, in whatever mode the loop then runs: a bound
    // that a modal panel must not hold back. Returns a token for cancelCall.
    uint64_t performAfterDelayInAnyMode(Call call, double delay);
    // Drops that call if it has not run; an unknown token is ignored.
    void cancelCall(uint64_t token);
    // Runs the call once the current event has been handled, in any mode.
    void deferToEndOfEvent(Call call);
    void drainDeferred();

    // Runs nested in mode until it returns; the mode is left again even if it throws. A stop
    // meanwhile calls interrupt, which must make nested return; runInMode then throws
    // ApplicationTerminating, so that nothing waiting on the nested run goes on.
    void runInMode(const RunLoopMode& mode, const Call& nested, const Call& interrupt = {});

    // The outermost loop, in the default mode, until stop().
    void run();
    // Ends the outermost loop and interrupts every nested run that can be interrupted.
    void stop();
    bool stopped() const { return mStopped; }
    void resetStopped() { mStopped = false; }
    // Handles events until done() holds or the time is up; true when done() held.
    bool runUntil(const std::function<bool()>& done, double timeoutSeconds);

    // Told whenever the current mode changes. Returns a token for removeModeListener.
    uint64_t addModeListener(ModeListener listener);
    void removeModeListener(uint64_t token);

    // Calls out on behalf of the loop: ApplicationTerminating stops it, other exceptions are
    // logged; nothing escapes into the event loop.
    void invokeGuarded(const Call& call);

private:
    struct NestedRun {
        const Call& interrupt;
        bool interrupted = false;
    };

    RunLoop() = default;
    void modeChanged();
    void rearmTimer();
    static int fireDueCalls(void* self);
    static int runDeferred(void* self);
    static int fireAnyModeCall(void* entry);

    std::vector<RunLoopMode> mModes{kDefaultRunLoopMode};
    std::vector<NestedRun*> mNestedRuns;
    std::multimap<int64_t, Call> mDelayed;  // by due time in microseconds, ties in call order
    unsigned int mTimer = 0;
    struct AnyModeCall {
        uint64_t token;
        unsigned int source;
        Call call;
    };
    std::map<uint64_t, std::unique_ptr<AnyModeCall>> mAnyModeCalls;
    uint64_t mNextAnyModeCall = 1;
    std::vector<Call> mDeferred;
    unsigned int mDeferredIdle = 0;
    std::map<uint64_t, ModeListener> mListeners;
    uint64_t mNextListener = 1;
    void* mLoop = nullptr;
    bool mStopped = false;
};
