#include "WaitFor.h"

#include <chrono>
#include <thread>

bool WaitFor(const std::function<bool()>& done, double seconds) {
    for (int tries = static_cast<int>(seconds * 20); !done(); --tries) {
        if (tries <= 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}
