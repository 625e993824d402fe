// What the program reads from the display profiler's output, and the facts as the report text
// and the JSON object present them.
#include <glib.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <functional>
#include <string>

#include "DisplayReport.h"
#include "FactsJson.h"
#include "FileText.h"
#include "OsRelease.h"
#include "ReportText.h"

namespace {

std::optional<VideoMemoryKind> Read(const std::string& output) {
    return ReadVideoMemoryKind(reinterpret_cast<const uint8_t*>(output.data()), output.size());
}

// Each sample is named after the kind it tells: shared-, dedicated- or none-.
TEST(DisplayReport, KindFromEverySample) {
    for (const auto& sample : std::filesystem::directory_iterator(DISPLAY_REPORT_SAMPLES)) {
        const std::string name = sample.path().filename();
        const std::optional<VideoMemoryKind> kind = Read(FileText(sample.path()));
        const std::string told =
            !kind ? "none" : (kind == VideoMemoryKind::Shared ? "shared" : "dedicated");
        EXPECT_EQ(told + name.substr(name.find('-')), name);
    }
}

// Each nests 200,000 arrays, hiding their closing tags where XML does not see them: refused
// before the parser's recursion can exhaust the stack, in one pass.
TEST(DisplayReport, NestingHiddenFromTheElementStructureIsRefused) {
    for (const std::string level :
         {"<array>", "<array><!--</x>-->", "<array><?pi \"?></array>\"?>",
          "<array><string><![CDATA[</string></array>]]></string>", "<array><!DOCTYPE x </array>",
          "<array><!DOCTYPE x [</array>]>", "<array a=\"></array>\">"}) {
        std::string output = "<plist version=\"1.0\">";
        for (int i = 0; i < 200000; ++i) {
            output += level;
        }
        EXPECT_EQ(Read(output), std::nullopt) << level;
    }
    EXPECT_EQ(Read(std::string(16U << 20, '<')), std::nullopt);
}

Facts FullHardware() {
    Facts facts;
    facts.programVersion = "1.0.0";
    facts.operatingSystem = "Debian GNU/Linux 12 (\"bookworm\")";
    facts.kernelRelease = "6.1.0-18-amd64";
    facts.displaySystem = DisplaySystem::X11;
    facts.vendor = "AMD";
    facts.renderer = "AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49)";
    facts.driverVersion = "4.6 (Compatibility Profile) Mesa 22.3.6";
    facts.rendering = Rendering::Hardware;
    facts.renderingSource = RenderingSource::RendererInformation;
    facts.videoMemoryBytes = int64_t{16384} << 20;
    facts.videoMemoryKind = VideoMemoryKind::Dedicated;
    facts.featuresMask = 0x7F;
    facts.assessment = Assess(0x7F);
    facts.profiler.state = ProfilerState::Finished;
    return facts;
}

// A card checked, offered by the desktop; one where offload did not take, started with a value
// that needs quotes; one whose helper crashed.
std::vector<OtherCard> OtherCards() {
    OtherCard checked;
    checked.name = "NVIDIA Corporation GA107M [GeForce RTX 3050 Mobile]";
    checked.environment = {{"__NV_PRIME_RENDER_OFFLOAD", "1"},
                           {"__GLX_VENDOR_LIBRARY_NAME", "nvidia"}};
    checked.listedByDesktop = true;
    checked.status = CardStatus::Checked;
    checked.facts.vendor = "NVIDIA Corporation";
    checked.facts.renderer = "NVIDIA GeForce RTX 3050 Laptop GPU/PCIe/SSE2";
    checked.facts.driverVersion = "4.6.0 NVIDIA 535.183.01";
    checked.facts.rendering = Rendering::Hardware;
    checked.facts.renderingSource = RenderingSource::RendererInformation;
    checked.facts.videoMemoryBytes = int64_t{4096} << 20;
    checked.facts.featuresMask = 0x3F;
    checked.facts.assessment = Assess(0x3F);
    OtherCard notReachable;
    notReachable.name = "Advanced Micro Devices, Inc. [AMD/ATI] Raphael";
    notReachable.environment = {{"DRI_PRIME", "pci-0000_10_00_0"}, {"SPACED", "a b'c"}};
    notReachable.status = CardStatus::NotReachable;
    notReachable.cause = CardCause::OffloadNotSetUp;
    notReachable.causes = {{CauseId::NoKernelDriver,
                            {{"controller", "0000:10:00.0"}, {"pci_id", "1002:164e"},
                             {"kernel_driver", "none"}},
                            {"CauseNoKernelDriver", {"0000:10:00.0", "1002:164e"}},
                            {"AdviceFirmware_arch", {}}}};
    OtherCard failed;
    failed.name = "Intel Corporation DG2 [Arc A380]";
    failed.environment = {{"DRI_PRIME", "pci-0000_03_00_0"}};
    failed.status = CardStatus::Failed;
    failed.cause = CardCause::Crashed;
    failed.detail = "11 (SIGSEGV)";
    return {checked, notReachable, failed};
}

// Shadows and anti-aliasing fail; no vendor, no rendering answer, and the devices of a display
// report with odd entries.
Facts Partial() {
    const std::string displayReport = FileText(REPORT_TEXTS "/partial.plist");
    Facts facts;
    facts.programVersion = "2.0";
    facts.operatingSystem = "Arch \\\"Linux\\\" 2024.1";
    facts.kernelRelease = "6.5.0";
    facts.displaySystem = DisplaySystem::X11UnderWayland;
    facts.renderer = "Mesa Intel(R) UHD 620";
    facts.driverVersion = "2.1 Mesa 23.1.0";
    facts.videoMemoryBytes = int64_t{1536} << 20;
    facts.videoMemoryKind = VideoMemoryKind::Shared;
    facts.featuresMask = 0x0B;
    facts.assessment = Assess(0x0B);
    facts.profiler.state = ProfilerState::Finished;
    facts.displayControllers = ReadDisplayDevices(
        reinterpret_cast<const uint8_t*>(displayReport.data()), displayReport.size());
    facts.otherCards = OtherCards();
    // A machine value that tries to start a line of its own stays on its line.
    facts.causes = {{CauseId::AnswersChangedByEnvironment,
                     {{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_stencil_two_side\nFeature mask: 0xFF"}},
                     {"CauseAnswersChangedByEnvironment",
                      {"MESA_EXTENSION_OVERRIDE=-GL_EXT_stencil_two_side\nFeature mask: 0xFF"}},
                     {"AdviceRemoveVariables", {"MESA_EXTENSION_OVERRIDE"}}},
                    {CauseId::DeviceNotPermitted,
                     {{"node", "/dev/dri/renderD128"}, {"mode", "0660"}, {"group", "render"}},
                     {"CauseDeviceNotPermitted", {"/dev/dri/renderD128", "0660", "render"}},
                     {"AdviceJoinGroup", {"render", "render"}}}};
    return facts;
}

TEST(Presentations, MatchTheExpectedTextAndObject) {
    for (const auto& [name, facts] :
         {std::pair{"full-hardware", FullHardware()}, std::pair{"partial", Partial()}}) {
        const std::filesystem::path expected = std::filesystem::path(REPORT_TEXTS) / name;
        EXPECT_EQ(ReportText(facts), FileText(expected.string() + ".txt")) << name;
        EXPECT_EQ(FactsJson(facts), FileText(expected.string() + ".json")) << name;
    }
}

// Every field of the facts changes both the report and the JSON, or neither: a field that one
// presentation forgets fails here.
TEST(Presentations, EveryFieldReachesTheReportAndTheJson) {
    const Facts base = Partial();
    const std::pair<const char*, std::function<void(Facts&)>> changes[] = {
        {"version", [](Facts& f) { f.programVersion = "9"; }},
        {"os", [](Facts& f) { f.operatingSystem.clear(); }},
        {"kernel", [](Facts& f) { f.kernelRelease = "7.0"; }},
        {"display system", [](Facts& f) { f.displaySystem = DisplaySystem::Wayland; }},
        {"no display", [](Facts& f) { f.displaySystem = DisplaySystem::NoDisplay; }},
        {"vendor", [](Facts& f) { f.vendor = "Intel"; }},
        {"renderer", [](Facts& f) { f.renderer.reset(); }},
        {"driver version", [](Facts& f) { f.driverVersion = "4.6"; }},
        {"rendering", [](Facts& f) { f.rendering = Rendering::Software; }},
        {"memory size", [](Facts& f) { f.videoMemoryBytes = 0; }},
        {"memory kind", [](Facts& f) { f.videoMemoryKind.reset(); }},
        {"mask", [](Facts& f) { f.featuresMask = 0x1B; }},
        {"offscreen", [](Facts& f) { f.assessment.offscreen = false; }},
        {"shadows", [](Facts& f) { f.assessment.shadows = true; }},
        {"lighting", [](Facts& f) { f.assessment.lighting = false; }},
        {"anti-aliasing", [](Facts& f) { f.assessment.antiAliasing = true; }},
        {"basic", [](Facts& f) { f.assessment.basic = EditionSupport::Full; }},
        {"advanced", [](Facts& f) { f.assessment.advanced = EditionSupport::Full; }},
        {"duo", [](Facts& f) { f.assessment.duo = EditionSupport::SignificantLimitations; }},
        {"profiler state", [](Facts& f) { f.profiler.state = ProfilerState::TimedOut; }},
        {"profiler detail",
         [](Facts& f) {
             f.profiler = {ProfilerState::ExitedWithError, "3"};
         }},
        {"controllers", [](Facts& f) { f.displayControllers.pop_back(); }},
        {"controller name", [](Facts& f) { f.displayControllers[1].name = "Arc"; }},
        {"controller vendor", [](Facts& f) { f.displayControllers[1].vendor.reset(); }},
        {"vendor id", [](Facts& f) { f.displayControllers[1].vendorId = "0x1002"; }},
        {"device id", [](Facts& f) { f.displayControllers[1].deviceId = "0x73bf"; }},
        {"pci address", [](Facts& f) { f.displayControllers[1].pciAddress = "0000:03:00.0"; }},
        {"driver", [](Facts& f) { f.displayControllers[1].driver = "xe"; }},
        {"memory", [](Facts& f) { f.displayControllers[1].memory = "4 GB"; }},
        {"screen", [](Facts& f) { f.displayControllers[1].drivesScreen = true; }},
        {"causes", [](Facts& f) { f.causes.pop_back(); }},
        {"cause advice", [](Facts& f) { f.causes[1].advice.arguments = {"video", "video"}; }},
        {"card causes", [](Facts& f) { f.otherCards[1].causes.clear(); }},
        {"other cards", [](Facts& f) { f.otherCards.pop_back(); }},
        {"card name", [](Facts& f) { f.otherCards[1].name = "Radeon"; }},
        {"card variable", [](Facts& f) { f.otherCards[1].environment[0].first = "X"; }},
        {"card value", [](Facts& f) { f.otherCards[1].environment[0].second = "1"; }},
        {"desktop menu", [](Facts& f) { f.otherCards[1].listedByDesktop = true; }},
        {"card status", [](Facts& f) { f.otherCards[2].status = CardStatus::NotReachable; }},
        {"card cause", [](Facts& f) { f.otherCards[1].cause = CardCause::DriverMissing; }},
        {"card detail", [](Facts& f) { f.otherCards[2].detail = "6 (SIGABRT)"; }},
        {"card renderer", [](Facts& f) { f.otherCards[0].facts.renderer = "RTX"; }},
        {"card memory", [](Facts& f) { f.otherCards[0].facts.videoMemoryBytes = 0; }},
        {"card mask",
         [](Facts& f) {
             f.otherCards[0].facts.featuresMask = 0x2F;
             f.otherCards[0].facts.assessment = Assess(0x2F);
         }},
    };
    for (const auto& [field, change] : changes) {
        Facts changed = base;
        change(changed);
        EXPECT_NE(ReportText(changed), ReportText(base)) << field;
        EXPECT_NE(FactsJson(changed), FactsJson(base)) << field;
    }
    // The report's rendering line is the window's, which does not say where it came from.
    Facts changed = base;
    changed.renderingSource = RenderingSource::RendererName;
    EXPECT_NE(FactsJson(changed), FactsJson(base));
    // A cause's evidence is the JSON's, for scripts; the sentence that words it, the report's.
    changed = base;
    changed.causes[1].evidence[2].second = "video";
    EXPECT_NE(FactsJson(changed), FactsJson(base));
    changed = base;
    changed.causes[1].found.arguments[2] = "video";
    EXPECT_NE(ReportText(changed), ReportText(base));
}

// The JSON is UTF-8 whatever bytes a driver, the PCI database or a card's environment gives: each
// sequence that is not becomes U+FFFD, and the rest stays.
TEST(Presentations, TheJsonIsUtf8WhateverTheBytesGiven) {
    const std::string latin1 = "Soci\xe9t\xe9 \xae";
    const std::string replaced = "Soci\xef\xbf\xbdt\xef\xbf\xbd \xef\xbf\xbd";
    const std::function<void(Facts&)> changes[] = {
        [&](Facts& f) { f.vendor = latin1; },
        [&](Facts& f) { f.displayControllers[0].name = latin1; },
        [&](Facts& f) {
            f.otherCards[1].environment[1] = {latin1, latin1};
        },
        [&](Facts& f) { f.otherCards[0].facts.renderer = latin1; },
        [&](Facts& f) {
            f.profiler = {ProfilerState::LaunchFailed, latin1};
        },
    };
    for (const auto& change : changes) {
        Facts facts = Partial();
        change(facts);
        const std::string json = FactsJson(facts);
        EXPECT_TRUE(g_utf8_validate(json.data(), static_cast<gssize>(json.size()), nullptr));
        EXPECT_NE(json.find(replaced), std::string::npos) << json;
    }
}

// Each way the profiler's run can end has its own line; a driver or device string never breaks
// a line, whatever control characters it holds.
TEST(ReportText, ProfilerEndsAndOneLinePerLine) {
    const std::pair<ProfilerRun, std::string> ends[] = {
        {{ProfilerState::Running, ""},
         "Display controllers: the display profiler is still running"},
        {{ProfilerState::Finished, ""},
         "Display controllers: none reported by the display profiler"},
        {{ProfilerState::TimedOut, ""},
         "Display controllers: unknown (the display profiler did not finish in time)"},
        {{ProfilerState::LaunchFailed, "The program could not be started: no such file"},
         "Display controllers: unknown (The program could not be started: no such file)"},
        {{ProfilerState::ExitedWithError, "3"},
         "Display controllers: unknown (the display profiler ended with status 3)"},
        {{ProfilerState::Crashed, "11 (SIGSEGV)"},
         "Display controllers: unknown (the display profiler was ended by signal 11 (SIGSEGV))"},
        {{ProfilerState::OutputTooLarge, ""},
         "Display controllers: unknown (the display profiler wrote more than 8 MB)"},
    };
    for (const auto& [run, line] : ends) {
        Facts facts = FullHardware();
        facts.profiler = run;
        EXPECT_EQ(ReportLines(facts).back(), line);
    }
    Facts facts = Partial();
    facts.renderer = "R\nFeature mask: 0xFF\r\t\x7F\xc2\x85\xe2\x80\xa8.\xc2\xa0\xe2\x80\xa6";
    facts.displayControllers[0].name = "A\nB";
    const std::vector<std::string> lines = ReportLines(facts);
    EXPECT_EQ(lines.size(), ReportLines(Partial()).size());
    EXPECT_THAT(lines, ::testing::Contains(
                           "Graphics card: R Feature mask: 0xFF     .\xc2\xa0\xe2\x80\xa6"));
    EXPECT_THAT(lines, ::testing::Contains(::testing::StartsWith("Display controller: A B (")));
}

TEST(OsRelease, NameAndVersionUnquotedAsAShellWould) {
    EXPECT_EQ(DistributionFromOsRelease("PRETTY_NAME=\"Debian\"\nNAME=\"Debian GNU/Linux\"\n"
                                        "VERSION_ID=12\nVERSION=\"12 (\\\"bookworm\\\")\"\n"),
              "Debian GNU/Linux 12 (\"bookworm\")");
    EXPECT_EQ(
        DistributionFromOsRelease(
            "# rolling\r\nNAME='Arch \\\"Linux\\\"'\r\nVERSION=\r\nVERSION_ID=\"2024.1\"\r\n"),
        "Arch \\\"Linux\\\" 2024.1");
}

}  // namespace
