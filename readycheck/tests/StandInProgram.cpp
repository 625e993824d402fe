// The program on the stand-in ProbeKit, for the tests that start it as a user does: the feature
// mask comes from READYCHECK_STANDIN_MASK ("0x17").
#include <cstdlib>

#include "Application.h"
#include "Controller.h"
#include "StandInSystem.h"

int main(int argc, char** argv) {
    const char* mask = std::getenv("READYCHECK_STANDIN_MASK");
    StandIn::Reset().mask =
        mask != nullptr ? static_cast<uint32_t>(std::strtoul(mask, nullptr, 0)) : 0U;
    return ApplicationMain(argc, argv, [] { return std::make_unique<Controller>(); });
}
