// Fixture sysfs trees of PCI devices, removed with the object.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct Card {
    std::string address;
    std::string vendor;
    std::string device;
    std::string pciClass = "0x030000";
    std::string driver;
    std::string vramTotal;  // amdgpu's mem_info_vram_total
};

class SysfsFixture {
public:
    explicit SysfsFixture(const std::vector<Card>& cards);
    ~SysfsFixture();
    SysfsFixture(const SysfsFixture&) = delete;
    SysfsFixture& operator=(const SysfsFixture&) = delete;
    std::string path() const { return root_.string(); }

private:
    std::filesystem::path root_;
};
