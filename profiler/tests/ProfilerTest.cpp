// The display profiler on recorded machines, its output read back with libplist.
#include <gtest/gtest.h>
#include <plist/plist.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct ProfilerRun {
    int status = -1;
    std::string output;
};

ProfilerRun Profile(const std::string& program, const std::string& environment,
                    const std::string& arguments = "-detailLevel mini -xml") {
    const std::string command = environment + " " + program + " " + arguments + " 2>&1";
    ProfilerRun run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.output.append(buffer, n);
    }
    run.status = WEXITSTATUS(pclose(pipe));
    return run;
}

std::string String(plist_t entry, const char* key) {
    plist_t node = plist_dict_get_item(entry, key);
    char* text = nullptr;
    if (node != nullptr && plist_get_node_type(node) == PLIST_STRING) {
        plist_get_string_val(node, &text);
    }
    std::string value = text != nullptr ? text : "<none>";
    std::free(text);
    return value;
}

// "address | name | memory | signal" for each entry, after checking the report's shape.
std::vector<std::string> Entries(const std::string& xml) {
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    plist_t report = root != nullptr ? plist_array_get_item(root, 0) : nullptr;
    plist_t list = report != nullptr ? plist_dict_get_item(report, "_items") : nullptr;
    std::vector<std::string> entries;
    if (list == nullptr || plist_get_node_type(list) != PLIST_ARRAY ||
        String(report, "_dataType") != "SPDisplaysDataType") {
        ADD_FAILURE() << "not a display report: " << xml;
        plist_free(root);
        return entries;
    }
    for (uint32_t i = 0; i < plist_array_get_size(list); ++i) {
        plist_t item = plist_array_get_item(list, i);
        EXPECT_EQ(String(item, "sppci_model"), String(item, "_name"));
        entries.push_back(String(item, "sppci_bus") + " | " + String(item, "_name") + " | " +
                          String(item, "spdisplays_vram") + " | " +
                          String(item, "spdisplays_vram_source"));
    }
    plist_free(root);
    return entries;
}

struct Machine {
    const char* name;
    std::vector<std::string> entries;  // the main display's device last
};

void PrintTo(const Machine& machine, std::ostream* out) {
    *out << machine.name;
}

constexpr const char* kShared = "spdisplays_integrated_vram";

class RecordedMachine : public testing::TestWithParam<Machine> {};

TEST_P(RecordedMachine, ListsEveryDisplayControllerWithTheMainDisplayLast) {
    const ProfilerRun run = Profile(RECORDED_PROFILER, std::string("SYSTEM_PROFILER_MACHINE=") +
                                                           MACHINES + "/" + GetParam().name);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(Entries(run.output), GetParam().entries);
}

std::string Entry(const char* address, const char* name, const char* memory, const char* signal) {
    return std::string(address) + " | " + name + " | " + memory + " | " + signal;
}

INSTANTIATE_TEST_SUITE_P(
    Profiler, RecordedMachine,
    testing::Values(
        Machine{"intel-igpu",
                {Entry("0000:00:02.0", "Alder Lake-P Integrated Graphics Controller", kShared,
                       "i915-memory-regions")}},
        Machine{"intel-arc-i915",
                {Entry("0000:03:00.0", "DG2 [Arc A770]", "16 GB", "i915-memory-regions")}},
        Machine{
            "intel-igpu-xe",
            {Entry("0000:00:02.0", "Raptor Lake-P [Iris Xe Graphics]", kShared, "xe-tile-vram")}},
        Machine{"intel-arc-xe", {Entry("0000:03:00.0", "DG2 [Arc A380]", "6 GB", "xe-tile-vram")}},
        Machine{"amd-apu-amdgpu",
                {Entry("0000:04:00.0", "Rembrandt [Radeon 680M]", kShared, "amdgpu-apu-flag")}},
        Machine{"amd-apu-radeon",
                {Entry("0000:00:01.0", "Kaveri [Radeon R7 Graphics]", kShared, "pci-topology")}},
        Machine{"amd-discrete-1g",
                {Entry("0000:09:00.0", "Lexa PRO [Radeon 540/540X/550/550X / RX 540X/550/550X]",
                       "1 GB", "amdgpu-apu-flag")}},
        Machine{"nvidia-nouveau",
                {Entry("0000:01:00.0", "GP106 [GeForce GTX 1060 6GB]", "dedicated, size unknown",
                       "pci-topology")}},
        Machine{"nvidia-proprietary",
                {Entry("0000:01:00.0", "AD104 [GeForce RTX 4070]", "dedicated, size unknown",
                       "pci-topology")}},
        Machine{"laptop-intel-nvidia",
                {Entry("0000:01:00.0", "GA107M [GeForce RTX 3050 Mobile]",
                       "dedicated, size unknown", "pci-topology"),
                 Entry("0000:00:02.0", "TigerLake-LP GT2 [Iris Xe Graphics]", kShared,
                       "i915-memory-regions")}},
        Machine{"laptop-external-monitor",
                {Entry("0000:01:00.0", "GA107M [GeForce RTX 3050 Mobile]",
                       "dedicated, size unknown", "pci-topology"),
                 Entry("0000:00:02.0", "TigerLake-LP GT2 [Iris Xe Graphics]", kShared,
                       "i915-memory-regions")}},
        Machine{"laptop-prime-nvidia",
                {Entry("0000:00:02.0", "TigerLake-LP GT2 [Iris Xe Graphics]", kShared,
                       "i915-memory-regions"),
                 Entry("0000:01:00.0", "GA107M [GeForce RTX 3050 Mobile]",
                       "dedicated, size unknown", "pci-topology")}},
        Machine{"desktop-ryzen-discrete",
                {Entry("0000:10:00.0", "Raphael", kShared, "amdgpu-apu-flag"),
                 Entry("0000:03:00.0", "Navi 31 [Radeon RX 7900 XT/7900 XTX]", "20 GB",
                       "amdgpu-apu-flag")}},
        Machine{"desktop-intel-nvidia",
                {Entry("0000:00:02.0", "CoffeeLake-S GT2 [UHD Graphics 630]", kShared,
                       "i915-memory-regions"),
                 Entry("0000:01:00.0", "AD104 [GeForce RTX 4070]", "dedicated, size unknown",
                       "pci-topology")}},
        Machine{"qemu-virtio-gpu",
                {Entry("0000:00:01.0", "Virtio 1.0 GPU", kShared, "pci-topology")}},
        Machine{"qemu-stdvga", {Entry("0000:00:02.0", "Device 1111", kShared, "pci-topology")}},
        Machine{"no-display", {}},
        // A malformed database gives ids for names, not a crash or an exit.
        Machine{"corrupt-ids", {Entry("0000:00:02.0", "46a6", kShared, "i915-memory-regions")}}),
    [](const auto& test) {
        std::string name = test.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(Profiler, OtherArgumentsGetAUsageLine) {
    for (const char* arguments :
         {"", "-xml", "-detailLevel full -xml", "-detailLevel mini -xml -x"}) {
        const ProfilerRun run = Profile(SYSTEM_PROFILER, "", arguments);
        EXPECT_NE(run.status, 0) << arguments;
        EXPECT_EQ(run.output, "usage: system_profiler -detailLevel mini -xml\n") << arguments;
    }
}

// The installed program reads this machine, whatever the environment names.
TEST(Profiler, TheInstalledProgramReadsThisMachine) {
    const ProfilerRun own = Profile(SYSTEM_PROFILER, "");
    ASSERT_EQ(own.status, 0) << own.output;
    const std::string elsewhere = std::string("SYSTEM_PROFILER_MACHINE=") + MACHINES +
                                  "/intel-igpu SYSTEM_PROFILER_SYSFS_ROOT=" + MACHINES +
                                  "/intel-igpu/sys";
    EXPECT_EQ(Entries(Profile(SYSTEM_PROFILER, elsewhere).output), Entries(own.output));
}

}  // namespace
