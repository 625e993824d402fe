// How long a display server may take to answer before it counts as not answering, and the wait for
// its answer, which a termination signal ends early.
#pragma once

#include <chrono>

namespace Graphics {

// Long enough for a compositor busy at login or an X server over a slow forwarded link to answer;
// short enough that one which never will costs the user little.
constexpr std::chrono::seconds kServerAnswerBound{3};

using ServerDeadline = std::chrono::steady_clock::time_point;

inline ServerDeadline ServerDeadlineFromNow() {
    return std::chrono::steady_clock::now() + kServerAnswerBound;
}

// True when SIGTERM, SIGINT or SIGHUP is pending for the process. Only a signal that is blocked
// stays pending: the program blocks them in every thread but while its main loop waits, so that a
// wait for a server here sees one come and stops, and the program ends as it does for a signal.
bool TerminationSignalWaiting();

// Waits until the descriptor is ready for the events (or has hung up); false once the deadline has
// passed or a termination signal is waiting.
bool WaitForDescriptor(int descriptor, short events, ServerDeadline deadline);

}  // namespace Graphics
