#include "RunLoop.h"

#include <glib.h>

#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>

#include "Log.h"

const RunLoopMode kDefaultRunLoopMode = "NSDefaultRunLoopMode";
const RunLoopMode kModalPanelRunLoopMode = "NSModalPanelRunLoopMode";

namespace {

constexpr double kMicrosecondsPerSecond = 1e6;

}  // namespace

RunLoop& RunLoop::main() {
    static RunLoop sMain;
    return sMain;
}

bool RunLoop::currentModeIsIn(const RunLoopModes& modes) const {
    for (const RunLoopMode& mode : modes) {
        if (mode == currentMode()) {
            return true;
        }
    }
    return false;
}

void RunLoop::performAfterDelay(Call call, double delay) {
    const auto offset = static_cast<int64_t>(std::ceil(delay * kMicrosecondsPerSecond));
    mDelayed.emplace(g_get_monotonic_time() + offset, std::move(call));
    rearmTimer();
}

void RunLoop::cancelDelayedCalls() {
    mDelayed.clear();
    rearmTimer();
}

void RunLoop::rearmTimer() {
    if (mTimer != 0) {
        g_source_remove(mTimer);
        mTimer = 0;
    }
    if (mDelayed.empty() || currentMode() != kDefaultRunLoopMode) {
        return;
    }
    const int64_t wait = mDelayed.begin()->first - g_get_monotonic_time();
    const auto milliseconds = wait <= 0 ? 0U : static_cast<unsigned int>((wait + 999) / 1000);
    mTimer =
        g_timeout_add_full(G_PRIORITY_DEFAULT, milliseconds, &RunLoop::fireDueCalls, this, nullptr);
}

int RunLoop::fireDueCalls(void* self) {
    auto& loop = *static_cast<RunLoop*>(self);
    loop.mTimer = 0;
    while (!loop.mDelayed.empty() && loop.currentMode() == kDefaultRunLoopMode &&
           loop.mDelayed.begin()->first <= g_get_monotonic_time() && !loop.mStopped) {
        Call call = std::move(loop.mDelayed.begin()->second);
        loop.mDelayed.erase(loop.mDelayed.begin());
        loop.invokeGuarded(call);
    }
    loop.rearmTimer();
    return G_SOURCE_REMOVE;
}

uint64_t RunLoop::performAfterDelayInAnyMode(Call call, double delay) {
    const uint64_t token = mNextAnyModeCall++;
    const auto milliseconds = static_cast<unsigned int>(std::ceil(delay * 1000.0));
    auto entry = std::make_unique<AnyModeCall>(AnyModeCall{token, 0, std::move(call)});
    // The entry stays where it is until it runs or is cancelled, which removes its source.
    entry->source = g_timeout_add_full(G_PRIORITY_DEFAULT, milliseconds, &RunLoop::fireAnyModeCall,
                                       entry.get(), nullptr);
    mAnyModeCalls.emplace(token, std::move(entry));
    return token;
}

void RunLoop::cancelCall(uint64_t token) {
    const auto found = mAnyModeCalls.find(token);
    if (found != mAnyModeCalls.end()) {
        g_source_remove(found->second->source);
        mAnyModeCalls.erase(found);
    }
}

int RunLoop::fireAnyModeCall(void* entry) {
    RunLoop& loop = main();
    const Call call = std::move(static_cast<AnyModeCall*>(entry)->call);
    loop.mAnyModeCalls.erase(static_cast<AnyModeCall*>(entry)->token);
    loop.invokeGuarded(call);
    return G_SOURCE_REMOVE;
}

void RunLoop::deferToEndOfEvent(Call call) {
    mDeferred.push_back(std::move(call));
    if (mDeferredIdle == 0) {
        mDeferredIdle = g_idle_add_full(G_PRIORITY_HIGH, &RunLoop::runDeferred, this, nullptr);
    }
}

int RunLoop::runDeferred(void* self) {
    auto& loop = *static_cast<RunLoop*>(self);
    loop.mDeferredIdle = 0;
    loop.drainDeferred();
    return G_SOURCE_REMOVE;
}

void RunLoop::drainDeferred() {
    if (mDeferredIdle != 0) {
        g_source_remove(mDeferredIdle);
        mDeferredIdle = 0;
    }
    while (!mDeferred.empty()) {
        std::vector<Call> calls;
        calls.swap(mDeferred);
        for (const Call& call : calls) {
            invokeGuarded(call);
        }
    }
}

void RunLoop::runInMode(const RunLoopMode& mode, const Call& nested, const Call& interrupt) {
    NestedRun run{interrupt};
    struct ModeScope {
        RunLoop& loop;
        ModeScope(RunLoop& runLoop, const RunLoopMode& entered, NestedRun& nestedRun)
            : loop(runLoop) {
            loop.mModes.push_back(entered);
            loop.mNestedRuns.push_back(&nestedRun);
            loop.modeChanged();
        }
        ~ModeScope() {
            loop.mNestedRuns.pop_back();
            loop.mModes.pop_back();
            loop.modeChanged();
        }
    } scope(*this, mode, run);
    nested();
    if (run.interrupted) {
        throw ApplicationTerminating{};
    }
}

void RunLoop::modeChanged() {
    rearmTimer();
    // A listener may remove itself or others while being told.
    const auto listeners = mListeners;
    for (const auto& [token, listener] : listeners) {
        if (mListeners.count(token) != 0) {
            listener();
        }
    }
}

uint64_t RunLoop::addModeListener(ModeListener listener) {
    const uint64_t token = mNextListener++;
    mListeners.emplace(token, std::move(listener));
    return token;
}

void RunLoop::removeModeListener(uint64_t token) {
    mListeners.erase(token);
}

void RunLoop::run() {
    mStopped = false;
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    mLoop = loop;
    g_main_loop_run(loop);
    mLoop = nullptr;
    g_main_loop_unref(loop);
}

void RunLoop::stop() {
    mStopped = true;
    if (mLoop != nullptr) {
        g_main_loop_quit(static_cast<GMainLoop*>(mLoop));
    }
    // A stop that comes while a modal panel runs (a signal, a lost display) must not wait for
    // the user to answer it.
    const std::vector<NestedRun*> runs = mNestedRuns;
    for (NestedRun* run : runs) {
        if (run->interrupt && !run->interrupted) {
            run->interrupted = true;
            run->interrupt();
        }
    }
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeoutSeconds) {
    const int64_t deadline =
        g_get_monotonic_time() + static_cast<int64_t>(timeoutSeconds * kMicrosecondsPerSecond);
    // Wakes the loop at the deadline even when nothing else happens.
    GSource* alarm = g_timeout_source_new(static_cast<unsigned int>(timeoutSeconds * 1000) + 1);
    g_source_set_callback(
        alarm, [](void*) { return G_SOURCE_REMOVE; }, nullptr, nullptr);
    g_source_attach(alarm, nullptr);
    bool satisfied = done();
    while (!satisfied && g_get_monotonic_time() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
        satisfied = done();
    }
    g_source_destroy(alarm);
    g_source_unref(alarm);
    return satisfied;
}

void RunLoop::invokeGuarded(const Call& call) {
    try {
        call();
    } catch (const ApplicationTerminating&) {
        stop();
    } catch (const std::exception& error) {
        Log(std::string("Uncaught exception: ") + error.what());
    } catch (...) {
        Log("Uncaught exception of unknown type");
    }
}
