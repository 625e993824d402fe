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

// The UTF-8 lead bytes above ASCII: the sequence's length and the range its second byte must
// fall in, so that no overlong form, surrogate or code point above U+10FFFF passes.
struct Utf8Lead {
    unsigned char first, last;
    unsigned char length;
    unsigned char secondLow, secondHigh;
};
constexpr Utf8Lead kUtf8Leads[] = {{0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF},
                                   {0xE1, 0xEC, 3, 0x80, 0xBF}, {0xED, 0xED, 3, 0x80, 0x9F},
                                   {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
                                   {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F}};

bool IsContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return byte >= low && byte <= high;
}

// The length of the well-formed UTF-8 sequence that starts at text[at]; 0 where none does.
std::size_t SequenceAt(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return 1;
    }
    for (const Utf8Lead& form : kUtf8Leads) {
        if (lead < form.first || lead > form.last || at + form.length > text.size()) {
            continue;
        }
        bool whole = IsContinuation(static_cast<unsigned char>(text[at + 1]), form.secondLow,
                                    form.secondHigh);
        for (std::size_t i = 2; i < form.length; ++i) {
            whole = whole && IsContinuation(static_cast<unsigned char>(text[at + i]));
        }
        return whole ? form.length : 0;
    }
    return 0;
}

bool IsUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceAt(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

// pci.ids is UTF-8; an older copy is Latin-1, each byte its own code point. The report is XML in
// UTF-8, so such a name is converted rather than written as it is.
std::string AsUtf8(std::string name) {
    if (IsUtf8(name)) {
        return name;
    }
    std::string converted;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            converted += c;
        } else {
            converted += static_cast<char>(0xC0 | (byte >> 6));
            converted += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return converted;
}

constexpr int kNameLength = 256;
// The local database only: no udev hardware database, no network.
constexpr int kLookupFlags = PCI_LOOKUP_NO_HWDB;

}  // namespace

std::string VendorName(uint16_t vendor) {
    char name[kNameLength];
    return AsUtf8(
        pci_lookup_name(Access(), name, sizeof name, PCI_LOOKUP_VENDOR | kLookupFlags, vendor));
}

std::string DeviceName(uint16_t vendor, uint16_t device) {
    char name[kNameLength];
    return AsUtf8(pci_lookup_name(Access(), name, sizeof name, PCI_LOOKUP_DEVICE | kLookupFlags,
                                  vendor, device));
}
