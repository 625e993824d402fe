#include "DeviceNames.h"

#include "Machine.h"

extern "C" {
#include <pci/pci.h>
}

#include <csetjmp>
#include <cstdlib>
#include <memory>

namespace {

struct AccessReleaser {
    void operator()(pci_access* access) const { pci_cleanup(access); }
};

void Quiet(char* /*format*/, ...) {}

std::jmp_buf* sOnError = nullptr;

// NOTE: libpci reports a malformed pci.ids through its error hook, which it declares as never
// returning; pci_alloc leaves the hook null and only pci_init would install libpci's own, which
// ends the process. Ours jumps back to the one place that loads the database; with the database
// loaded or dropped, lookups report nothing.
// The GNU spelling: clang makes it part of the function's type, as the hook's type requires.
__attribute__((noreturn)) void Fail(char* /*format*/, ...) {
    if (sOnError == nullptr) {
        std::abort();
    }
    std::longjmp(*sOnError, 1);  // NOLINT(cert-err52-cpp): only libpci's C frames are skipped
}

// Loads the database; a malformed one is dropped whole, and every name falls back to its id.
void LoadNames(pci_access* access) {
    std::jmp_buf onError;
    sOnError = &onError;
    if (setjmp(onError) == 0) {  // NOLINT(cert-err52-cpp)
        pci_load_name_list(access);
    } else {
        pci_free_name_list(access);
        access->numeric_ids = 1;  // so that no lookup loads it again
    }
    sOnError = nullptr;
}

// The database is read once, on the first lookup; no bus is scanned, so pci_init (which would
// pick an access method) is never called.
pci_access* Access() {
    static std::unique_ptr<pci_access, AccessReleaser> sAccess = [] {
        std::unique_ptr<pci_access, AccessReleaser> access(pci_alloc());
        access->error = Fail;
        access->warning = Quiet;
        access->debug = Quiet;
        if (const char* path = PciIdsPath()) {
            pci_set_name_list_path(access.get(), const_cast<char*>(path), 0);
        }
        LoadNames(access.get());
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
