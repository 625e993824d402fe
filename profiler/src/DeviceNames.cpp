#include "DeviceNames.h"

extern "C" {
#include <pci/pci.h>
}

#include <memory>

namespace {

struct AccessReleaser {
    void operator()(pci_access* access) const { pci_cleanup(access); }
};

void Quiet(char* /*format*/, ...) {}

// The database is read once, on the first lookup; no bus is scanned, so pci_init (which would
// pick an access method) is never called.
pci_access* Access() {
    static std::unique_ptr<pci_access, AccessReleaser> sAccess = [] {
        std::unique_ptr<pci_access, AccessReleaser> access(pci_alloc());
        // NOTE: pci_alloc leaves these hooks unset, and a lookup of an unknown id calls them.
        access->warning = Quiet;
        access->debug = Quiet;
        return access;
    }();
    return sAccess.get();
}

constexpr int kNameLength = 256;
// The local database only: no udev hardware database, no network.
constexpr int kLookupFlags = PCI_LOOKUP_NO_HWDB;

}  // namespace

std::string VendorName(uint16_t vendor) {
    char name[kNameLength];
    return pci_lookup_name(Access(), name, sizeof name, PCI_LOOKUP_VENDOR | kLookupFlags, vendor);
}

std::string DeviceName(uint16_t vendor, uint16_t device) {
    char name[kNameLength];
    return pci_lookup_name(Access(), name, sizeof name, PCI_LOOKUP_DEVICE | kLookupFlags, vendor,
                           device);
}
