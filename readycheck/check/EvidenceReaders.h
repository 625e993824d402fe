// The pieces of the machine's evidence, each read by its own file, and the small file readers they
// share. Every path is under the evidence's root.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "MachineEvidence.h"

// The first line of a file, without surrounding white space; none when it cannot be read.
std::optional<std::string> FirstLine(const std::filesystem::path& file);
// The name a symbolic link points to, its last component only; empty when it is no link.
std::string LinkName(const std::filesystem::path& link);
// The names in a folder, sorted; none when it cannot be listed.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

// The PCI devices, display controllers and their DRM nodes, the kernel command line, NVIDIA's
// module and Secure Boot.
void ReadKernelEvidence(const std::filesystem::path& root, MachineEvidence& evidence);

// Mesa's DRI drivers for the controllers found, glvnd's vendor libraries and EGL vendor files.
void ReadDriverFileEvidence(const EvidenceSources& sources, MachineEvidence& evidence);
