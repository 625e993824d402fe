// Why a result is not ready, as found on this computer: what shows it and what to do about it.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Fixed identifiers, in the order a list of causes gives them: the most specific first.
enum class CauseId {
    ForcedByEnvironment,
    AnswersChangedByEnvironment,
    RemoteDisplay,
    VirtualDisplayServer,
    Nomodeset,
    SecureBootBlocksModule,
    NoKernelDriver,
    BasicDisplayDriver,
    NvidiaVersionMismatch,
    NvidiaLibraryMissing,
    MesaDriverMissing,
    ContainerWithoutDevice,
    NoDeviceNodes,
    DeviceNotPermitted,
    VirtualMachineWithout3D,
    NoGraphicsDevice,
};

// "forced_by_environment": the identifier as scripts read it, never translated.
const char* CauseIdName(CauseId id);

// A text of the string table and the values that fill its "%@" placeholders, in order.
struct Wording {
    std::string key;
    std::vector<std::string> arguments;
    bool operator==(const Wording&) const = default;
};

struct Cause {
    CauseId id;
    // What shows it, exactly as found: names are fixed ("controller", "LIBGL_ALWAYS_SOFTWARE"),
    // values are the machine's own ("0000:01:00.0", "1"). Never empty.
    std::vector<std::pair<std::string, std::string>> evidence;
    // What was found on this computer, in a sentence.
    Wording found;
    // What to do, in the distribution's own way where its family is known.
    Wording advice;
    bool operator==(const Cause&) const = default;
};
