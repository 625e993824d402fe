// Which family of distributions a system belongs to, for advice in the family's own commands.
#pragma once

#include <string>

enum class DistributionFamily {
    Debian,  // Debian, Ubuntu and their derivatives: apt
    Fedora,  // Fedora, RHEL and their rebuilds: dnf
    Arch,    // Arch and its derivatives: pacman
    Suse,    // openSUSE and SLES: zypper
    Other,   // unknown: advice in general words
};

// The family that an os-release text's ID, else one of its ID_LIKE, names: openSUSE's IDs carry
// their edition ("opensuse-tumbleweed") and their ID_LIKE the family ("opensuse suse").
DistributionFamily FamilyFromOsRelease(const std::string& text);
