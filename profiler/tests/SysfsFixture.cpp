#include "SysfsFixture.h"

#include <stdlib.h>

#include <fstream>

namespace fs = std::filesystem;

SysfsFixture::SysfsFixture(const std::vector<Card>& cards) {
    std::string pattern = (fs::temp_directory_path() / "sysfs-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    fs::create_directories(root_ / "bus/pci/devices");
    fs::create_directories(root_ / "bus/pci/drivers");
    for (const Card& card : cards) {
        const fs::path device = root_ / "bus/pci/devices" / card.address;
        fs::create_directories(device);
        std::ofstream(device / "class") << card.pciClass << "\n";
        std::ofstream(device / "vendor") << card.vendor << "\n";
        std::ofstream(device / "device") << card.device << "\n";
        if (!card.driver.empty()) {
            fs::create_directories(root_ / "bus/pci/drivers" / card.driver);
            fs::create_directory_symlink(root_ / "bus/pci/drivers" / card.driver,
                                         device / "driver");
        }
        if (!card.vramTotal.empty()) {
            std::ofstream(device / "mem_info_vram_total") << card.vramTotal << "\n";
        }
    }
}

SysfsFixture::~SysfsFixture() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}
