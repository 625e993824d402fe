// A recorded machine (profiler/tests/machines/NAME): its sysfs tree in sys/, and in "answers" what
// its drivers and X server reply, one line each ("<address> amdgpu-apu 1",
// "<address> i915-local-memory <bytes>", "x-screen device <address>", "x-server dri3 1").
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The machine's answer to the question about the subject; none where it has none.
std::optional<std::string> RecordedAnswer(const std::filesystem::path& machine,
                                          const std::string& subject, const std::string& question);

// Adds what the device's kernel driver answers of its memory to the signals (the graphics
// library's MemorySignals, left a parameter so that this library needs nothing of the product).
template <typename Signals>
void AddRecordedDriverAnswers(const std::filesystem::path& machine, const std::string& address,
                              Signals& signals) {
    if (const auto apu = RecordedAnswer(machine, address, "amdgpu-apu")) {
        signals.amdgpuApu = *apu == "1";
    }
    if (const auto local = RecordedAnswer(machine, address, "i915-local-memory")) {
        signals.i915LocalMemory = std::stoull(*local);
    }
}
