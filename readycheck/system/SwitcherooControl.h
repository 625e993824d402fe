// switcheroo-control's list of GPUs, asked over the system bus.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One GPU as switcheroo-control lists it.
struct ListedGpu {
    std::string name;
    std::vector<std::string> environment;  // flat: a name, its value, the next name, ...
    bool isDefault = false;                // the one a normal start uses
    bool discrete = false;
    bool operator==(const ListedGpu&) const = default;
};

// How long the service may take to answer.
constexpr double kSwitcherooBoundSeconds = 3.0;

class GpuListRequest {
public:
    using Answer = std::function<void(std::optional<std::vector<ListedGpu>>)>;

    // Asks for the GPUs. The answer comes on the main loop, never inside this call: the list,
    // or none where there is no system bus, no service, an error, or no answer in time.
    explicit GpuListRequest(Answer answer);
    // No answer comes after this.
    ~GpuListRequest();
    GpuListRequest(const GpuListRequest&) = delete;
    GpuListRequest& operator=(const GpuListRequest&) = delete;

private:
    unsigned int mToken;  // names the request to the bus callbacks
};
