#include "OtherCardsList.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kNvidiaDriver = "nvidia";
// What NVIDIA's driver needs to render a program's OpenGL and Vulkan on its card.
const std::vector<std::pair<std::string, std::string>> kNvidiaOffload{
    {"__NV_PRIME_RENDER_OFFLOAD", "1"},
    {"__GLX_VENDOR_LIBRARY_NAME", "nvidia"},
    {"__VK_LAYER_NV_optimus", "NVIDIA_only"}};

// "0000:01:00.0", the domain, bus, device and function in hexadecimal.
bool IsPciAddress(const std::string& address) {
    constexpr std::size_t kLength = 12;
    if (address.size() != kLength) {
        return false;
    }
    for (std::size_t i = 0; i < kLength; ++i) {
        const char separator = i == 4 || i == 7 ? ':' : (i == 10 ? '.' : '\0');
        const bool fits = separator != '\0'
                              ? address[i] == separator
                              : std::isxdigit(static_cast<unsigned char>(address[i])) != 0;
        if (!fits) {
            return false;
        }
    }
    return true;
}

// Mesa's name for the device at a PCI address, as udev tags it: "pci-0000_01_00_0".
std::string DriPrimeTag(std::string address) {
    for (char& c : address) {
        if (c == ':' || c == '.') {
            c = '_';
        }
    }
    return "pci-" + address;
}

// "NVIDIA Corporation GA107M [GeForce RTX 3050 Mobile]", as switcheroo-control names a card.
std::string DeviceName(const DisplayController& device) {
    std::string name = device.vendor.value_or("");
    if (device.name) {
        name += (name.empty() ? "" : " ") + *device.name;
    }
    return name.empty() ? device.pciAddress.value_or("") : name;
}

// The GPU that names the device: its DRI_PRIME address, or its vendor and model.
bool NamesDevice(const ListedGpu& gpu, const DisplayController& device) {
    for (std::size_t i = 0; i + 1 < gpu.environment.size(); i += 2) {
        if (gpu.environment[i] == "DRI_PRIME" && device.pciAddress &&
            gpu.environment[i + 1] == DriPrimeTag(*device.pciAddress)) {
            return true;
        }
    }
    return gpu.name == DeviceName(device);
}

// Whether each GPU is one a normal start uses.
std::vector<bool> DefaultGpus(const std::vector<ListedGpu>& gpus,
                              const std::vector<DisplayController>& devices) {
    std::vector<bool> chosen(gpus.size());
    std::transform(gpus.begin(), gpus.end(), chosen.begin(),
                   [](const ListedGpu& gpu) { return gpu.isDefault; });
    if (std::find(chosen.begin(), chosen.end(), true) != chosen.end()) {
        return chosen;
    }
    auto found = std::find_if(gpus.begin(), gpus.end(),
                              [](const ListedGpu& gpu) { return gpu.environment.empty(); });
    const auto screen = std::find_if(devices.begin(), devices.end(),
                                     [](const DisplayController& d) { return d.drivesScreen; });
    if (found == gpus.end() && screen != devices.end()) {
        found = std::find_if(gpus.begin(), gpus.end(),
                             [&](const ListedGpu& gpu) { return NamesDevice(gpu, *screen); });
    }
    if (found != gpus.end()) {
        chosen[static_cast<std::size_t>(found - gpus.begin())] = true;
    }
    return chosen;
}

OtherCard Card(std::string name, std::vector<std::pair<std::string, std::string>> environment,
               bool listedByDesktop) {
    OtherCard card;
    card.name = std::move(name);
    card.environment = std::move(environment);
    card.listedByDesktop = listedByDesktop;
    return card;
}

}  // namespace

std::vector<OtherCard> OtherCardsFromSwitcheroo(const std::vector<ListedGpu>& gpus,
                                                const std::vector<DisplayController>& devices) {
    const std::vector<bool> isDefault = DefaultGpus(gpus, devices);
    std::vector<OtherCard> cards;
    for (std::size_t g = 0; g < gpus.size(); ++g) {
        const ListedGpu& gpu = gpus[g];
        if (isDefault[g]) {
            continue;
        }
        std::vector<std::pair<std::string, std::string>> environment;
        for (std::size_t i = 0; i + 1 < gpu.environment.size(); i += 2) {
            environment.emplace_back(gpu.environment[i], gpu.environment[i + 1]);
        }
        cards.push_back(Card(gpu.name, std::move(environment), true));
    }
    return cards;
}

std::vector<OtherCard> OtherCardsFromDevices(const std::vector<DisplayController>& devices) {
    std::vector<OtherCard> cards;
    for (const DisplayController& device : devices) {
        if (device.drivesScreen) {
            continue;
        }
        if (device.driver == kNvidiaDriver) {
            cards.push_back(Card(DeviceName(device), kNvidiaOffload, false));
        } else if (device.pciAddress && IsPciAddress(*device.pciAddress)) {
            cards.push_back(
                Card(DeviceName(device), {{"DRI_PRIME", DriPrimeTag(*device.pciAddress)}}, false));
        }
    }
    return cards;
}
