// The display profiler on fixture sysfs trees, its output read back with libplist.
#include <gtest/gtest.h>
#include <plist/plist.h>

#include "SysfsFixture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ProfilerRun {
    int status = -1;
    std::string output;
};

ProfilerRun Profile(const std::string& sysfs,
                    const std::string& arguments = "-detailLevel mini -xml") {
    const std::string command =
        "SYSTEM_PROFILER_SYSFS_ROOT='" + sysfs + "' " PROFILER_PATH " " + arguments + " 2>&1";
    ProfilerRun run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.output.append(buffer, n);
    }
    run.status = WEXITSTATUS(pclose(pipe));
    return run;
}

std::string String(plist_t node) {
    char* text = nullptr;
    if (node != nullptr && plist_get_node_type(node) == PLIST_STRING) {
        plist_get_string_val(node, &text);
    }
    std::string value = text != nullptr ? text : "<none>";
    std::free(text);
    return value;
}

// Each item's "spdisplays_vram", after checking the report's shape.
std::vector<std::map<std::string, std::string>> Items(const std::string& xml) {
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    std::vector<std::map<std::string, std::string>> items;
    EXPECT_TRUE(root != nullptr && plist_get_node_type(root) == PLIST_ARRAY) << xml;
    if (root == nullptr) {
        return items;
    }
    plist_t report = plist_array_get_item(root, 0);
    EXPECT_EQ(String(plist_dict_get_item(report, "_dataType")), "SPDisplaysDataType");
    plist_t list = plist_dict_get_item(report, "_items");
    EXPECT_TRUE(list != nullptr && plist_get_node_type(list) == PLIST_ARRAY);
    for (uint32_t i = 0; list != nullptr && i < plist_array_get_size(list); ++i) {
        plist_t item = plist_array_get_item(list, i);
        items.push_back({{"vram", String(plist_dict_get_item(item, "spdisplays_vram"))},
                         {"name", String(plist_dict_get_item(item, "_name"))},
                         {"vendor", String(plist_dict_get_item(item, "spdisplays_vendor-id"))}});
    }
    plist_free(root);
    return items;
}

const Card kIntelIntegrated{"0000:00:02.0", "0x8086", "0x46a6", "0x030000", "i915", ""};
const Card kAmdDedicated{"0000:03:00.0", "0x1002", "0x73bf", "0x030000", "amdgpu", "8589934592"};
const Card kNvidia{"0000:01:00.0", "0x10de", "0x2684", "0x030000", "nvidia", ""};
const Card kAudio{"0000:00:1f.3", "0x8086", "0x51c8", "0x040300", "snd_hda_intel", ""};

TEST(Profiler, IntelIntegratedGraphicsShareSystemMemory) {
    const SysfsFixture sysfs({kIntelIntegrated, kAudio});
    const ProfilerRun run = Profile(sysfs.path());
    ASSERT_EQ(run.status, 0) << run.output;
    const auto items = Items(run.output);
    ASSERT_EQ(items.size(), 1U) << "only display controllers";
    EXPECT_EQ(items[0].at("vram"), "spdisplays_integrated_vram");
    EXPECT_EQ(items[0].at("vendor"), "0x8086");
    EXPECT_FALSE(items[0].at("name").empty());
}

TEST(Profiler, AmdCardTellsItsDedicatedSize) {
    const SysfsFixture sysfs({kAmdDedicated});
    const auto items = Items(Profile(sysfs.path()).output);
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].at("vram"), "8 GB");
}

TEST(Profiler, AmdApuCarveOutIsSharedMemory) {
    Card apu = kAmdDedicated;
    apu.vramTotal = "536870912";
    const SysfsFixture sysfs({apu});
    EXPECT_EQ(Items(Profile(sysfs.path()).output).at(0).at("vram"), "spdisplays_integrated_vram");
}

TEST(Profiler, NvidiaCardIsDedicatedEvenWithoutASize) {
    const SysfsFixture sysfs({kNvidia});
    const auto items = Items(Profile(sysfs.path()).output);
    ASSERT_EQ(items.size(), 1U);
    EXPECT_NE(items[0].at("vram"), "spdisplays_integrated_vram");
    EXPECT_FALSE(items[0].at("vram").empty());
}

TEST(Profiler, HybridLaptopListsBothInAddressOrder) {
    const SysfsFixture sysfs({kNvidia, kIntelIntegrated});
    const auto items = Items(Profile(sysfs.path()).output);
    ASSERT_EQ(items.size(), 2U);
    EXPECT_EQ(items[0].at("vram"), "spdisplays_integrated_vram");
    EXPECT_NE(items[1].at("vram"), "spdisplays_integrated_vram");
}

TEST(Profiler, VirtualMachineGraphicsShareMemory) {
    const SysfsFixture sysfs({{"0000:00:01.0", "0x1234", "0x1111", "0x030000", "bochs-drm", ""},
                              {"0000:00:02.0", "0x1af4", "0x1050", "0x038000", "virtio-pci", ""}});
    const auto items = Items(Profile(sysfs.path()).output);
    ASSERT_EQ(items.size(), 2U);
    EXPECT_EQ(items[0].at("vram"), "spdisplays_integrated_vram");
    EXPECT_EQ(items[1].at("vram"), "spdisplays_integrated_vram");
}

TEST(Profiler, NoDisplayControllerGivesAnEmptyList) {
    const SysfsFixture sysfs({kAudio});
    const ProfilerRun run = Profile(sysfs.path());
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Items(run.output).empty());
}

TEST(Profiler, OtherArgumentsGetAUsageLine) {
    const SysfsFixture sysfs({});
    for (const char* arguments :
         {"", "-xml", "-detailLevel full -xml", "-detailLevel mini -xml -x"}) {
        const ProfilerRun run = Profile(sysfs.path(), arguments);
        EXPECT_NE(run.status, 0) << arguments;
        EXPECT_EQ(run.output, "usage: system_profiler -detailLevel mini -xml\n") << arguments;
    }
}

TEST(Profiler, ThisMachineGivesAValidList) {
    const ProfilerRun run = Profile("");
    ASSERT_EQ(run.status, 0);
    Items(run.output);  // checks the shape
}

}  // namespace
