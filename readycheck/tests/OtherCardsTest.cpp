// The other graphics cards: which there are and how to start a program on each, what a probe's
// end makes of a card, and the helper's answer read back.
#include <glib.h>
#include <gmock/gmock.h>

#include <csignal>

#include "CardJudgement.h"
#include "FactRecording.h"
#include "FactsJson.h"
#include "FileText.h"
#include "OtherCardsList.h"
#include "SwitcherooGpus.h"

namespace {

using Environment = std::vector<std::pair<std::string, std::string>>;

const Environment kNvidiaOffload{{"__NV_PRIME_RENDER_OFFLOAD", "1"},
                                 {"__GLX_VENDOR_LIBRARY_NAME", "nvidia"},
                                 {"__VK_LAYER_NV_optimus", "NVIDIA_only"}};

// The profiler's entries on the machines, one after the other; the last drives the screen.
std::vector<DisplayController> Devices(const std::vector<std::string>& machines) {
    std::vector<DisplayController> devices;
    for (const std::string& machine : machines) {
        const std::string xml =
            FileText(std::string(RECORDED_MACHINES "/") + machine + "/expected.xml");
        for (DisplayController device :
             ReadDisplayDevices(reinterpret_cast<const uint8_t*>(xml.data()), xml.size())) {
            device.drivesScreen = false;
            devices.push_back(device);
        }
    }
    if (!devices.empty()) {
        devices.back().drivesScreen = true;
    }
    return devices;
}

// A machine that has no driver of a kind as its other card borrows one machine's card for
// another's screen.
TEST(OtherCards, FromTheProfilersDevicesWithTheEnvironmentTheDesktopsGive) {
    const std::pair<std::vector<std::string>, std::vector<std::pair<std::string, Environment>>>
        rows[] = {
            {{"laptop-intel-nvidia"},
             {{"NVIDIA Corporation GA107M [GeForce RTX 3050 Mobile]", kNvidiaOffload}}},
            {{"laptop-prime-nvidia"},
             {{"Intel Corporation TigerLake-LP GT2 [Iris Xe Graphics]",
               {{"DRI_PRIME", "pci-0000_00_02_0"}}}}},
            {{"desktop-ryzen-discrete"},
             {{"Advanced Micro Devices, Inc. [AMD/ATI] Raphael",
               {{"DRI_PRIME", "pci-0000_10_00_0"}}}}},
            {{"nvidia-nouveau", "intel-igpu-xe"},
             {{"NVIDIA Corporation GP106 [GeForce GTX 1060 6GB]",
               {{"DRI_PRIME", "pci-0000_01_00_0"}}}}},
            {{"intel-arc-xe", "intel-igpu"},
             {{"Intel Corporation DG2 [Arc A380]", {{"DRI_PRIME", "pci-0000_03_00_0"}}}}},
            {{"nvidia-proprietary", "amd-discrete-1g"},
             {{"NVIDIA Corporation AD104 [GeForce RTX 4070]", kNvidiaOffload}}},
            {{"intel-igpu"}, {}},
            {{"no-display"}, {}},
        };
    for (const auto& [machines, expected] : rows) {
        std::vector<std::pair<std::string, Environment>> found;
        for (const OtherCard& card : OtherCardsFromDevices(Devices(machines))) {
            EXPECT_FALSE(card.listedByDesktop);
            EXPECT_EQ(card.status, CardStatus::Waiting);
            found.emplace_back(card.name, card.environment);
        }
        EXPECT_EQ(found, expected) << machines[0];
    }
    // Mesa cannot be told a card without its address; NVIDIA's driver needs none.
    DisplayController odd;
    odd.name = "Odd";
    odd.pciAddress = "01:00.0";
    odd.driver = "amdgpu";
    DisplayController nvidia;
    nvidia.name = "RTX";
    nvidia.driver = "nvidia";
    DisplayController screen;
    screen.drivesScreen = true;
    const std::vector<OtherCard> cards = OtherCardsFromDevices({odd, nvidia, screen});
    ASSERT_EQ(cards.size(), 1U);
    EXPECT_EQ(cards[0].name, "RTX");
}

// Where none is marked default, the one that needs no variable is, else the one whose DRI_PRIME
// address or name is the profiler's screen device.
TEST(OtherCards, FromSwitcherooEveryGpuButTheDefaultWithItsOwnEnvironment) {
    const ListedGpu intel{"Intel UHD", {"DRI_PRIME", "pci-0000_00_02_0"}, false, false};
    const ListedGpu nvidia{
        "NVIDIA RTX", {"__NV_PRIME_RENDER_OFFLOAD", "1", "A", "b c", "DANGLING"}, false, true};
    const ListedGpu bare{"AMD eGPU", {}, false, true};
    ListedGpu intelDefault = intel;
    intelDefault.isDefault = true;
    const std::vector<DisplayController> intelScreen = Devices({"laptop-intel-nvidia"});
    const std::vector<DisplayController> nvidiaScreen = Devices({"laptop-prime-nvidia"});
    ListedGpu named = nvidia;
    named.name = "NVIDIA Corporation GA107M [GeForce RTX 3050 Mobile]";
    const struct {
        std::vector<ListedGpu> gpus;
        std::vector<DisplayController> devices;
        std::vector<std::string> others;
    } rows[] = {
        {{intelDefault, nvidia, bare}, nvidiaScreen, {"NVIDIA RTX", "AMD eGPU"}},
        {{intel, nvidia, bare}, intelScreen, {"Intel UHD", "NVIDIA RTX"}},
        {{intel, nvidia}, intelScreen, {"NVIDIA RTX"}},
        {{intel, named}, nvidiaScreen, {"Intel UHD"}},
        {{intel, nvidia}, nvidiaScreen, {"Intel UHD", "NVIDIA RTX"}},
        {{intel, nvidia}, {}, {"Intel UHD", "NVIDIA RTX"}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> others;
        for (const OtherCard& card : OtherCardsFromSwitcheroo(row.gpus, row.devices)) {
            EXPECT_TRUE(card.listedByDesktop);
            others.push_back(card.name);
        }
        EXPECT_EQ(others, row.others) << row.gpus.size() << " " << row.devices.size();
    }
    const std::vector<OtherCard> cards = OtherCardsFromSwitcheroo({intelDefault, nvidia}, {});
    EXPECT_EQ(cards.at(0).environment,
              (Environment{{"__NV_PRIME_RENDER_OFFLOAD", "1"}, {"A", "b c"}}));
}

// The property's value as the bus gives it; one of another type is no list, as no answer is.
TEST(OtherCards, SwitcherooListReadFromItsTypeOnly) {
    const auto read = [](const char* text) {
        GVariant* value = g_variant_new_parsed(text);
        g_variant_ref_sink(value);
        auto gpus = ReadGpus(value);
        g_variant_unref(value);
        return gpus;
    };
    const auto gpus = read(
        "[{'Name': <'Intel'>, 'Environment': <['DRI_PRIME', '1']>, 'Default': <true>}, "
        "{'Name': <'No environment'>}, {'Name': <'Odd'>, 'Environment': <'DRI_PRIME=1'>}, "
        "{'Name': <'NVIDIA'>, 'Environment': <@as []>, 'Discrete': <true>}]");
    EXPECT_EQ(gpus, (std::vector<ListedGpu>{{"Intel", {"DRI_PRIME", "1"}, true, false},
                                            {"NVIDIA", {}, false, true}}));
    EXPECT_EQ(read("@aa{sv} []"), std::vector<ListedGpu>{});
    for (const char* wrong : {"['Intel', 'NVIDIA']", "@a{sv} {}", "'GPUs'", "@as []"}) {
        EXPECT_EQ(read(wrong), std::nullopt) << wrong;
    }
    EXPECT_EQ(ReadGpus(nullptr), std::nullopt);
}

CardFacts Answer(std::optional<std::string> renderer, Rendering rendering) {
    CardFacts card;
    RecordDriver(card, 0x1B, {"Vendor", std::move(renderer), "4.6", true});
    card.rendering = rendering;
    return card;
}

TEST(OtherCards, JudgedOnTheAnswerAgainstTheMainCard) {
    CardFacts hardware = Answer("Intel", Rendering::Hardware);
    CardFacts software = Answer("llvmpipe", Rendering::Software);
    const CardFacts radeon = Answer("Radeon", Rendering::Hardware);
    const int segv = SIGSEGV;  // a wait status: ended by that signal
    const int exit3 = 3 << 8;  // a wait status: exited with 3
    const struct {
        const CardFacts& main;
        CardProbeRun run;
        CardStatus status;
        CardCause cause;
        std::string detail;
    } rows[] = {
        {hardware, {true, "", false, 0, true, radeon}, CardStatus::Checked, CardCause::None, ""},
        {hardware, {true, "", false, segv, true, radeon}, CardStatus::Checked, CardCause::None, ""},
        {software,
         {true, "", false, 0, true, Answer("softpipe", Rendering::Software)},
         CardStatus::Checked,
         CardCause::None,
         ""},
        {hardware,
         {true, "", false, 0, true, Answer("Intel", Rendering::Hardware)},
         CardStatus::NotReachable,
         CardCause::OffloadNotSetUp,
         ""},
        {software,
         {true, "", false, 0, true, Answer("llvmpipe", Rendering::Software)},
         CardStatus::NotReachable,
         CardCause::OffloadNotSetUp,
         ""},
        {hardware,
         {true, "", false, 0, true, Answer("softpipe", Rendering::Software)},
         CardStatus::NotReachable,
         CardCause::DriverMissing,
         ""},
        {hardware,
         {true, "", false, 0, true, Answer(std::nullopt, Rendering::Unknown)},
         CardStatus::NotReachable,
         CardCause::DriverMissing,
         ""},
        {hardware,
         {true, "", true, segv, true, std::nullopt},
         CardStatus::Failed,
         CardCause::TimedOut,
         ""},
        {hardware,
         {true, "", true, segv, true, std::nullopt, true},
         CardStatus::Failed,
         CardCause::OutOfTime,
         ""},
        {hardware,
         {true, "", true, 0, true, radeon, true},
         CardStatus::Checked,
         CardCause::None,
         ""},
        {hardware,
         {true, "", false, segv, true, std::nullopt},
         CardStatus::Failed,
         CardCause::Unreadable,
         ""},
        {hardware,
         {true, "", false, segv, false, std::nullopt},
         CardStatus::Failed,
         CardCause::Crashed,
         "11 (SIGSEGV)"},
        {hardware,
         {true, "", false, exit3, false, std::nullopt},
         CardStatus::Failed,
         CardCause::ExitedWithError,
         "3"},
        {hardware,
         {true, "", false, 0, false, std::nullopt},
         CardStatus::Failed,
         CardCause::Unreadable,
         ""},
        {hardware,
         {false, "cannot start", false, std::nullopt, false, std::nullopt},
         CardStatus::Failed,
         CardCause::LaunchFailed,
         "cannot start"},
    };
    for (const auto& row : rows) {
        OtherCard card;
        card.status = CardStatus::Checking;
        card.facts = radeon;  // from an earlier answer: only a checked card keeps one
        JudgeCardProbe(card, row.main, row.run);
        EXPECT_EQ(card.status, row.status) << static_cast<int>(row.cause);
        EXPECT_EQ(card.cause, row.cause);
        EXPECT_EQ(card.detail, row.detail);
        EXPECT_EQ(card.facts, row.status == CardStatus::Checked ? *row.run.answer : CardFacts{});
    }
}

// The helper's answer is read back whole, or not at all: each field must be there, of the type
// written, and a name one that the writer writes.
TEST(CardJson, ReadsBackWhatItWroteAndNothingElse) {
    CardFacts full = Answer("Radeon \"RX\" \xe2\x84\xa2", Rendering::Hardware);
    full.renderingSource = RenderingSource::RendererInformation;
    full.videoMemoryBytes = int64_t{16} << 30;
    const CardFacts empty = Answer(std::nullopt, Rendering::Unknown);
    for (const CardFacts& card : {full, empty}) {
        EXPECT_EQ(ReadCardJson(CardJson(card)), card);
    }
    const std::string written = CardJson(full);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = written;
        return text.replace(text.find(from), from.size(), to);
    };
    for (const std::string& garbage :
         {std::string(), std::string("garbage"), std::string("[]"), std::string("{}"),
          written.substr(0, written.size() - 4), replaced("\"manufacturer\"", "\"maker\""),
          replaced("\"hardware\"", "\"magic\""), replaced("\"hardware\"", "true"),
          replaced("\"renderer_information\"", "\"guess\""),
          replaced("\"feature_mask\" : 27", "\"feature_mask\" : \"0x1B\""),
          replaced("\"feature_mask\" : 27", "\"feature_mask\" : -1"),
          replaced("\"feature_mask\" : 27", "\"feature_mask\" : 4294967296"),
          replaced("\"feature_mask\" : 27", "\"feature_mask\" : null"),
          replaced("\"driver_version\" : \"4.6\"", "\"driver_version\" : {}"),
          replaced("17179869184", "-1")}) {
        EXPECT_EQ(ReadCardJson(garbage), std::nullopt) << garbage;
    }
    // A driver's string that is not UTF-8 is written as JSON can hold it, and read back.
    CardFacts latin1 = full;
    latin1.vendor = "Soci\xe9t\xe9";
    const std::optional<CardFacts> read = ReadCardJson(CardJson(latin1));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->vendor, "Soci\xef\xbf\xbdt\xef\xbf\xbd");
}

}  // namespace
