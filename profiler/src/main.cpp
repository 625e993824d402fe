// system_profiler -detailLevel mini -xml: the display controllers of this machine as an XML
// property list on standard output, the one driving the main display last.
#include <plist/plist.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "DeviceNames.h"
#include "DisplayDevices.h"
#include "Machine.h"

namespace {

constexpr const char* kUnknownSize = "dedicated, size unknown";

std::string Hex(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", value);
    return text;
}

std::string MemoryText(const MemoryKind& kind) {
    if (kind.shared) {
        return "spdisplays_integrated_vram";
    }
    return kind.bytes ? SizeText(*kind.bytes) : kUnknownSize;
}

plist_t DeviceEntry(const DisplayDevice& device) {
    plist_t entry = plist_new_dict();
    const auto set = [entry](const char* key, const std::string& value) {
        plist_dict_set_item(entry, key, plist_new_string(value.c_str()));
    };
    set("_name", DeviceName(device.vendor, device.device));
    set("sppci_model", DeviceName(device.vendor, device.device));
    set("spdisplays_vendor", VendorName(device.vendor));
    set("spdisplays_vendor-id", Hex(device.vendor));
    set("spdisplays_device-id", Hex(device.device));
    set("sppci_bus", device.address);
    if (!device.driver.empty()) {
        set("spdisplays_driver", device.driver);
    }
    const MemoryKind kind = DecideDeviceMemory(device, AskDriver);
    set("spdisplays_vram", MemoryText(kind));
    set("spdisplays_vram_source", kind.source);
    return entry;
}

plist_t DisplaysReport() {
    std::vector<DisplayDevice> devices = FindDisplayDevices(SysfsRoot());
    if (devices.size() > 1) {  // the X server is asked only when there is a choice
        OrderForMainDisplay(devices, ScreenDevice());
    }
    plist_t items = plist_new_array();
    for (const DisplayDevice& device : devices) {
        plist_array_append_item(items, DeviceEntry(device));
    }
    plist_t report = plist_new_dict();
    plist_dict_set_item(report, "_dataType", plist_new_string("SPDisplaysDataType"));
    plist_dict_set_item(report, "_detailLevel", plist_new_string("mini"));
    plist_dict_set_item(report, "_items", items);
    plist_t root = plist_new_array();
    plist_array_append_item(root, report);
    return root;
}

bool IsTheOneCall(int argc, char** argv) {
    return argc == 4 && std::strcmp(argv[1], "-detailLevel") == 0 &&
           std::strcmp(argv[2], "mini") == 0 && std::strcmp(argv[3], "-xml") == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (!IsTheOneCall(argc, argv)) {
        std::fprintf(stderr, "usage: system_profiler -detailLevel mini -xml\n");
        return 64;  // EX_USAGE
    }
    plist_t report = DisplaysReport();
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(report, &xml, &length);
    plist_free(report);
    const bool written = xml != nullptr && std::fwrite(xml, 1, length, stdout) == length;
    plist_to_xml_free(xml);
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}
