// Why a result is not ready, on every recorded machine: its evidence read from its folder, the
// causes decided from it, and what they say in the string table.
#include <gmock/gmock.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "Causes.h"
#include "LocalizedStrings.h"
#include "RecordedEvidenceSources.h"
#include "RunProgram.h"

namespace {

namespace fs = std::filesystem;

const std::string kMachines = RECORDED_MACHINES;

enum class Result { Ready, Software, ShadowsFail, SoftwareShadowsFail };

CardFacts FactsOf(Result result) {
    CardFacts facts;
    facts.rendering = result == Result::Software || result == Result::SoftwareShadowsFail
                          ? Rendering::Software
                          : Rendering::Hardware;
    facts.assessment = {true, true, true, true};
    facts.assessment.shadows = result == Result::Ready || result == Result::Software;
    return facts;
}

// A recorded machine's evidence, with changes to its environment and, where given, another X
// server than its own.
MachineEvidence EvidenceOf(const std::string& machine, const Environment& changes = {},
                           const std::optional<XServerOffer>& xServer = std::nullopt) {
    EvidenceSources sources = RecordedEvidenceSources(kMachines + "/" + machine);
    for (const auto& [name, value] : changes) {
        sources.environment[name] = value;
    }
    if (xServer) {
        sources.xServer = xServer;
    }
    return ReadMachineEvidence(sources);
}

// "remote_display DISPLAY=localhost:10.0 -> AdviceLocalSession"
std::vector<std::string> Described(const std::vector<Cause>& causes) {
    std::vector<std::string> lines;
    for (const Cause& cause : causes) {
        std::string line = CauseIdName(cause.id);
        const char* separator = " ";
        for (const auto& [name, value] : cause.evidence) {
            line.append(separator).append(name).append("=").append(value);
            separator = "; ";
        }
        lines.push_back(line + " -> " + cause.advice.key);
    }
    return lines;
}

std::size_t Placeholders(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("%@"); at != std::string::npos; at = text.find("%@", at + 2)) {
        ++count;
    }
    return count;
}

// Each text is in the table and has a value for each of its placeholders.
void ExpectWordable(const Wording& wording) {
    const std::string text = EnglishString(wording.key);
    EXPECT_NE(text, wording.key) << "not in the string table";
    EXPECT_EQ(Placeholders(text), wording.arguments.size()) << wording.key;
}

const char* const kHealthy[] = {"intel-igpu",
                                "corrupt-ids",
                                "intel-arc-i915",
                                "intel-igpu-xe",
                                "intel-arc-xe",
                                "amd-apu-amdgpu",
                                "amd-apu-radeon",
                                "amd-discrete-1g",
                                "nvidia-nouveau",
                                "nvidia-proprietary",
                                "laptop-intel-nvidia",
                                "laptop-external-monitor",
                                "laptop-prime-nvidia",
                                "desktop-ryzen-discrete",
                                "desktop-intel-nvidia",
                                "raspberry-pi-v3d",
                                "latin1-ids"};

const std::string kRemove = " -> AdviceRemoveVariables";
const std::string kIntel = "controller=0000:00:02.0; pci_id=8086:46a6; kernel_driver=i915";
const std::string kIntelNodes =
    "controller=0000:00:02.0; missing_nodes=/dev/dri/card0, /dev/dri/renderD128";
const std::string kNvidiaLibrary = "nvidia_library=/usr/lib/x86_64-linux-gnu/libGLX_nvidia.so.0";
const std::string kNvidiaModule =
    "no_kernel_driver controller=0000:01:00.0; pci_id=10de:25a2; kernel_driver=none; "
    "nvidia_library=/usr/lib/x86_64-linux-gnu/libGLX_nvidia.so.0 -> AdviceNvidiaModule";
const std::string kNoX = "x_server_dri3=no; x_server_dri2=no; x_server_nv_glx=no";

struct Row {
    std::string machine;
    Environment environment;
    Result result;
    std::vector<std::string> causes;
    std::optional<XServerOffer> xServer = std::nullopt;  // another X server than its own
};

// One machine a cause, and the variables one by one on healthy machines: a software result on a
// healthy machine has no cause at all.
TEST(Causes, OnEveryRecordedMachineOnlyWhatItsEvidenceShows) {
    std::vector<Row> rows{
        {"session-forced-software",
         {},
         Result::Software,
         {"forced_by_environment LIBGL_ALWAYS_SOFTWARE=true" + kRemove}},
        {"intel-igpu", {{"LIBGL_ALWAYS_SOFTWARE", "0"}}, Result::Software, {}},
        {"intel-igpu", {{"GALLIUM_DRIVER", "llvmpipe"}}, Result::Software, {}},
        {"intel-igpu",
         {{"GALLIUM_DRIVER", "llvmpipe"}, {"MESA_LOADER_DRIVER_OVERRIDE", "zink"}},
         Result::Software,
         {"forced_by_environment GALLIUM_DRIVER=llvmpipe; MESA_LOADER_DRIVER_OVERRIDE=zink" +
          kRemove}},
        {"nvidia-proprietary",
         {{"__GLX_VENDOR_LIBRARY_NAME", "mesa"}},
         Result::Software,
         {"forced_by_environment __GLX_VENDOR_LIBRARY_NAME=mesa" + kRemove}},
        {"intel-igpu",
         {{"__EGL_VENDOR_LIBRARY_FILENAMES", "/tmp/50_mesa.json"}},
         Result::Software,
         {"forced_by_environment __EGL_VENDOR_LIBRARY_FILENAMES=/tmp/50_mesa.json" + kRemove}},
        {"intel-igpu-xe",
         {{"LIBGL_ALWAYS_INDIRECT", "1"}},
         Result::ShadowsFail,
         {"answers_changed_by_environment LIBGL_ALWAYS_INDIRECT=1" + kRemove}},
        {"intel-igpu-xe",
         {{"LIBGL_ALWAYS_INDIRECT", "1"}},
         Result::SoftwareShadowsFail,
         {"forced_by_environment LIBGL_ALWAYS_INDIRECT=1" + kRemove}},
        {"session-extension-override",
         {},
         Result::ShadowsFail,
         {"answers_changed_by_environment MESA_EXTENSION_OVERRIDE=-GL_EXT_stencil_two_side" +
          kRemove}},
        {"session-extension-override", {}, Result::Software, {}},
        {"amd-discrete-1g",
         {{"MESA_GL_VERSION_OVERRIDE", "2.1"}},
         Result::ShadowsFail,
         {"answers_changed_by_environment MESA_GL_VERSION_OVERRIDE=2.1" + kRemove}},
        {"xvnc-session",
         {},
         Result::Software,
         {"virtual_display_server DISPLAY=:1; " + kNoX + " -> AdviceOwnDesktop"}},
        {"xvnc-session",
         {{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_stencil_two_side"}},
         Result::SoftwareShadowsFail,
         {"answers_changed_by_environment MESA_EXTENSION_OVERRIDE=-GL_EXT_stencil_two_side" +
              kRemove,
          "virtual_display_server DISPLAY=:1; " + kNoX + " -> AdviceOwnDesktop"}},
        {"ssh-forwarded-display",
         {},
         Result::Software,
         {"remote_display DISPLAY=localhost:10.0; SSH_CONNECTION=192.0.2.7 52144 192.0.2.20 22 "
          "-> AdviceLocalSession"}},
        // Over SSH, but on the machine's own X server, as the manual page shows.
        {"ssh-forwarded-display", {{"DISPLAY", ":0"}}, Result::Software, {}},
        {"nvidia-proprietary",
         {},
         Result::Software,
         {"virtual_display_server DISPLAY=:0; " + kNoX + " -> AdviceOwnDesktop"},
         XServerOffer{}},
        {"intel-igpu-xe",
         {{"DISPLAY", "tcp/desk:0"}},
         Result::ShadowsFail,
         {"remote_display DISPLAY=tcp/desk:0 -> AdviceLocalSession"}},
        {"intel-igpu-xe", {{"DISPLAY", "unix/:0"}}, Result::Software, {}},
        {"nomodeset",
         {},
         Result::Software,
         {"nomodeset kernel_parameters=nomodeset -> AdviceKernelParameter_fedora"}},
        {"nvidia-secure-boot",
         {},
         Result::Software,
         {"secure_boot_blocks_module controller=0000:01:00.0; pci_id=10de:2786; "
          "kernel_driver=none; secure_boot=enabled; " +
          kNvidiaLibrary + " -> AdviceSecureBoot"}},
        {"no-kernel-driver",
         {{"LIBGL_ALWAYS_SOFTWARE", "yes"}},
         Result::Software,
         {"forced_by_environment LIBGL_ALWAYS_SOFTWARE=yes" + kRemove,
          "no_kernel_driver controller=0000:03:00.0; pci_id=8086:56a0; kernel_driver=none -> "
          "AdviceFirmware_debian"}},
        {"no-kernel-driver",
         {},
         Result::Software,
         {"no_kernel_driver controller=0000:03:00.0; pci_id=8086:56a0; kernel_driver=none -> "
          "AdviceFirmware_debian"}},
        {"laptop-nvidia-module-missing", {}, Result::Software, {kNvidiaModule}},
        {"laptop-nvidia-module-missing",
         {{"LIBGL_DRIVERS_PATH", "/opt/mesa/dri"}},
         Result::Software,
         {kNvidiaModule,
          "mesa_driver_missing controller=0000:00:02.0; pci_id=8086:9a49; kernel_driver=i915; "
          "dri_drivers=iris_dri.so, crocus_dri.so, i965_dri.so; dri_folders=/opt/mesa/dri; "
          "LIBGL_DRIVERS_PATH=/opt/mesa/dri -> AdviceDriversPath"}},
        {"server-mgag200",
         {},
         Result::Software,
         {"basic_display_driver controller=0000:03:00.0; pci_id=102b:0536; "
          "kernel_driver=mgag200 -> AdviceBasicDriver"}},
        {"nvidia-version-mismatch",
         {},
         Result::Software,
         {"nvidia_version_mismatch kernel_module_version=550.54.14; "
          "library_version=535.154.05; " +
          kNvidiaLibrary + " -> AdviceNvidiaMismatch"}},
        {"nvidia-library-missing",
         {},
         Result::Software,
         {"nvidia_library_missing kernel_driver=nvidia; kernel_module_version=550.54.14; "
          "missing=libGLX_nvidia.so.0; library_folders=/usr/lib -> AdviceInstallNvidia_arch"}},
        {"mesa-driver-missing",
         {},
         Result::Software,
         {"mesa_driver_missing controller=0000:09:00.0; pci_id=1002:699f; kernel_driver=amdgpu; "
          "dri_drivers=radeonsi_dri.so; dri_folders=/usr/lib64/dri -> AdviceInstallMesa_suse"}},
        {"amd-discrete-1g",
         {{"LIBGL_DRIVERS_PATH", "/opt/mesa/dri"}},
         Result::Software,
         {"mesa_driver_missing controller=0000:09:00.0; pci_id=1002:699f; kernel_driver=amdgpu; "
          "dri_drivers=radeonsi_dri.so; dri_folders=/opt/mesa/dri; "
          "LIBGL_DRIVERS_PATH=/opt/mesa/dri -> AdviceDriversPath"}},
        {"render-node-denied",
         {{"LIBGL_DRIVERS_PATH", "/opt/mesa/dri"}},
         Result::Software,
         {"mesa_driver_missing " + kIntel +
              "; dri_drivers=iris_dri.so, crocus_dri.so, "
              "i965_dri.so; dri_folders=/opt/mesa/dri; LIBGL_DRIVERS_PATH=/opt/mesa/dri -> "
              "AdviceDriversPath",
          "device_not_permitted node=/dev/dri/renderD128; mode=0660; group=render -> "
          "AdviceJoinGroup"}},
        {"flatpak-without-dri",
         {},
         Result::Software,
         {"container_without_device container=flatpak; flatpak_app=org.readycheck.ReadyCheck; " +
          kIntelNodes + " -> AdviceFlatpakDevice"}},
        {"no-device-nodes",
         {},
         Result::Software,
         {"no_device_nodes " + kIntelNodes + " -> AdviceDeviceNodes"}},
        {"render-node-denied",
         {},
         Result::Software,
         {"device_not_permitted node=/dev/dri/renderD128; mode=0660; group=render -> "
          "AdviceJoinGroup"}},
        {"virtualbox-no-3d",
         {},
         Result::Software,
         {"virtual_machine_without_3d dmi_sys_vendor=innotek GmbH; dmi_product_name=VirtualBox; "
          "controller=0000:00:02.0; pci_id=15ad:0405; kernel_driver=vmwgfx -> "
          "AdviceVirtualMachine3D"}},
        {"qemu-stdvga",
         {},
         Result::Software,
         {"virtual_machine_without_3d dmi_sys_vendor=QEMU; dmi_product_name=Standard PC (i440FX + "
          "PIIX, 1996); controller=0000:00:02.0; pci_id=1234:1111; kernel_driver=bochs-drm -> "
          "AdviceVirtualMachine3D"}},
        {"qemu-virtio-gpu",
         {},
         Result::Software,
         {"virtual_machine_without_3d dmi_sys_vendor=QEMU; dmi_product_name=Standard PC (Q35 + "
          "ICH9, 2009); controller=0000:00:01.0; pci_id=1af4:1050; kernel_driver=virtio_gpu -> "
          "AdviceVirtualMachine3D"}},
        {"cloud-vm-xvfb",
         {},
         Result::Software,
         {"virtual_display_server DISPLAY=:99; " + kNoX + " -> AdviceOwnDesktop",
          "no_graphics_device display_controllers=none; drm_devices=none; "
          "virtual_pci_device=0000:00:01.0 (1af4:1045) -> AdviceVirtualMachineAdapter"}},
        {"cloud-vm-render-node",
         {},
         Result::Software,
         {"device_not_permitted node=/dev/dri/renderD128; mode=0660; group=render -> "
          "AdviceJoinGroup",
          "no_graphics_device display_controllers=none; drm_devices=none; "
          "virtual_pci_device=0000:00:01.0 (1af4:1045) -> AdviceVirtualMachineAdapter"}},
        {"no-display",
         {},
         Result::Software,
         {"no_graphics_device display_controllers=none; drm_devices=none -> "
          "AdviceNoGraphicsDevice"}},
    };
    for (const char* machine : kHealthy) {
        rows.push_back({machine, {}, Result::Software, {}});
    }
    std::set<std::string> untested;
    for (const auto& entry : fs::directory_iterator(kMachines)) {
        if (entry.is_directory()) {
            untested.insert(entry.path().filename());
            // Whatever a machine shows, a ready result has no cause.
            EXPECT_THAT(DecideCauses(FactsOf(Result::Ready), EvidenceOf(entry.path().filename())),
                        testing::IsEmpty())
                << entry.path().filename();
        }
    }
    for (const Row& row : rows) {
        untested.erase(row.machine);
        const std::vector<Cause> causes = DecideCauses(
            FactsOf(row.result), EvidenceOf(row.machine, row.environment, row.xServer));
        EXPECT_EQ(Described(causes), row.causes) << row.machine;
        for (const Cause& cause : causes) {
            ExpectWordable(cause.found);
            ExpectWordable(cause.advice);
        }
    }
    EXPECT_THAT(untested, testing::IsEmpty()) << "recorded machines without a row";
}

// The desktop's offload variables select the other card's controller: only its evidence counts.
TEST(Causes, OfAnOtherCardThatIsNotReachableFromItsOwnController) {
    OtherCard nvidia, intel;
    nvidia.environment = {{"__NV_PRIME_RENDER_OFFLOAD", "1"},
                          {"__GLX_VENDOR_LIBRARY_NAME", "nvidia"}};
    intel.environment = {{"DRI_PRIME", "pci-0000_00_02_0"}};
    const MachineEvidence missing = EvidenceOf("nvidia-library-missing");
    nvidia.status = intel.status = CardStatus::NotReachable;
    EXPECT_EQ(Described(DecideOtherCardCauses(nvidia, missing)),
              std::vector<std::string>{
                  "nvidia_library_missing kernel_driver=nvidia; kernel_module_version=550.54.14; "
                  "missing=libGLX_nvidia.so.0; library_folders=/usr/lib -> "
                  "AdviceInstallNvidia_arch"});
    EXPECT_THAT(DecideOtherCardCauses(intel, missing), testing::IsEmpty());
    EXPECT_EQ(Described(DecideOtherCardCauses(nvidia, EvidenceOf("laptop-nvidia-module-missing"))),
              std::vector<std::string>{kNvidiaModule});
    EXPECT_THAT(DecideOtherCardCauses(nvidia, EvidenceOf("laptop-intel-nvidia")),
                testing::IsEmpty());
    nvidia.status = CardStatus::Checked;
    EXPECT_THAT(DecideOtherCardCauses(nvidia, missing), testing::IsEmpty());
}

// The JSON carries the advice in English, whatever the user's language.
TEST(Causes, AdviceInEnglishWhateverTheLocale) {
    setenv("LANGUAGE", "de", 1);
    EXPECT_EQ(EnglishString("AdviceLocalSession"),
              "Run the 3D application on the computer's own screen, in a desktop session there, "
              "not through SSH or a remote X display.");
    EXPECT_NE(LocalizedString("AdviceLocalSession"), EnglishString("AdviceLocalSession"));
    EXPECT_EQ(EnglishString("NoSuchKey"), "NoSuchKey");
    unsetenv("LANGUAGE");
}

// A virtual machine on virtio-mmio has sysfs but no PCI bus, and may have no DMI: the kernel still
// knows no graphics device, and the processor's hypervisor flag tells a virtual machine.
TEST(Causes, NoGraphicsDeviceWithoutAPciBus) {
    const fs::path root = fs::temp_directory_path() / ("no-pci-" + std::to_string(getpid()));
    fs::create_directories(root / "sys/bus/platform/devices");
    fs::create_directories(root / "proc");
    const auto causes = [&] {
        return Described(DecideCauses(FactsOf(Result::Software),
                                      ReadMachineEvidence({root, "", {}, std::nullopt, {}})));
    };
    const std::string none = "no_graphics_device display_controllers=none; drm_devices=none";
    EXPECT_EQ(causes(), std::vector<std::string>{none + " -> AdviceNoGraphicsDevice"});
    std::ofstream(root / "proc/cpuinfo")
        << "processor\t: 0\nflags\t\t: fpu vme hypervisor lahf_lm\n";
    EXPECT_EQ(causes(), std::vector<std::string>{
                            none + "; cpu_flag=hypervisor -> AdviceVirtualMachineAdapter"});
    fs::remove_all(root);
}

// The kernel's own parameters that keep graphics drivers from loading; the words after "--" are
// init's, not the kernel's.
TEST(MachineEvidence, TheKernelsOwnParametersThatKeepDriversAway) {
    const fs::path root = fs::temp_directory_path() / ("command-line-" + std::to_string(getpid()));
    fs::create_directories(root / "proc");
    const struct {
        const char* line;
        std::vector<std::string> found;
    } rows[] = {
        {"ro quiet splash nomodeset", {"nomodeset"}},
        {"ro quiet -- nomodeset", {}},
        {"i915.modeset=0 amdgpu.modeset=1 radeon.modeset=0 -- nouveau.modeset=0",
         {"i915.modeset=0", "radeon.modeset=0"}},
    };
    for (const auto& row : rows) {
        std::ofstream(root / "proc/cmdline") << row.line << "\n";
        EXPECT_EQ(ReadMachineEvidence({root, "", {}, std::nullopt, {}}).modesetParameters,
                  row.found)
            << row.line;
    }
    fs::remove_all(root);
}

// access(2) answers for this process: a user outside a node's group may not open it. Root may
// open anything, so the check runs in a child that has become nobody.
TEST(DeviceNodes, ANodeOfItsGroupOnlyIsClosedToOtherUsers) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to become another user";
    }
    const fs::path root = fs::temp_directory_path() / ("device-nodes-" + std::to_string(getpid()));
    fs::create_directories(root / "dev/dri/by-path");
    fs::create_directories(root / "etc");
    std::ofstream(root / "etc/group") << "video:x:44:\nrender:x:993:\n";
    for (const auto& [name, mode] : {std::pair("renderD128", 0660), std::pair("card0", 0666)}) {
        std::ofstream(root / "dev/dri" / name).put('\0');
        ASSERT_EQ(chown((root / "dev/dri" / name).c_str(), 0, 993), 0);
        ASSERT_EQ(chmod((root / "dev/dri" / name).c_str(), static_cast<mode_t>(mode)), 0);
    }
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const std::string seen = InChild({}, [&] {
        const bool nobody = setgid(65534) == 0 && setgroups(0, nullptr) == 0 && setuid(65534) == 0;
        return nobody && InspectDriNodes(root) == DriNodes{true,
                                                           {{"card0", 0666, "render", true},
                                                            {"renderD128", 0660, "render", false}}}
                   ? "as expected"
                   : "other nodes";
    });
    EXPECT_EQ(seen, "as expected") << "the child saw other nodes";
    EXPECT_EQ(InspectDriNodes(root).nodes.at(1), (DeviceNode{"renderD128", 0660, "render", true}));
    fs::remove_all(root);
}

}  // namespace
