// Vendor and device names from the PCI ID database, where it is installed.
#pragma once

#include <cstdint>
#include <string>

// "Intel Corporation", "Alder Lake-P GT2 [Iris Xe Graphics]"; a hexadecimal id when unknown. In
// UTF-8, also from a database in Latin-1.
std::string VendorName(uint16_t vendor);
std::string DeviceName(uint16_t vendor, uint16_t device);
