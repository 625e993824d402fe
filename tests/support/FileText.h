// A file read whole.
#pragma once

#include <filesystem>
#include <string>

// Its bytes as they are; empty where it cannot be read.
std::string FileText(const std::filesystem::path& path);
