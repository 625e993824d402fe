// The program's window on Mesa's software drivers under Xvfb, or natively on Weston where only
// WAYLAND_DISPLAY is set: llvmpipe, or the driver that GALLIUM_DRIVER names, with Mesa's overrides
// where given; and the program's command line on the same driver. Leaves screenshots of the
// window and its summary in the working directory (X11 only: they are read back from the server).
#include <gmock/gmock.h>
#include <json-glib/json-glib.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "CauseTexts.h"
#include "DisplayChoice.h"
#include "LocalizedStrings.h"
#include "ReportText.h"
#include "SchemaCheck.h"
#include "StringFormat.h"
#include "TaskWrapper.h"
#include "WindowFixture.h"

namespace {

// The JSON object's answers written as the report's lines say them.
std::vector<std::string> JsonAsReportLines(const std::string& json) {
    JsonParser* parser = json_parser_new();
    EXPECT_TRUE(json_parser_load_from_data(parser, json.c_str(), -1, nullptr)) << json;
    JsonObject* root = json_node_get_object(json_parser_get_root(parser));
    JsonObject* checks = json_object_get_object_member(root, "checks");
    JsonObject* editions = json_object_get_object_member(root, "editions");
    const auto check = [&](const char* name) {
        return json_object_get_boolean_member(checks, name) != FALSE ? "pass" : "fail";
    };
    const std::map<std::string, std::string> support{
        {"full", "full support"},
        {"limited", "limited support"},
        {"significant_limitations", "significant limitations"}};
    const auto edition = [&](const char* name) {
        return support.at(json_object_get_string_member(editions, name));
    };
    char mask[16];
    std::snprintf(mask, sizeof mask, "0x%02X",
                  static_cast<unsigned>(json_object_get_int_member(root, "feature_mask")));
    std::vector<std::string> lines{
        std::string("Graphics card: ") + json_object_get_string_member(root, "renderer"),
        std::string("Hardware off-screen rendering: ") + check("offscreen"),
        std::string("Shadows: ") + check("shadows"),
        std::string("High-resolution lighting: ") + check("lighting"),
        std::string("Anti-aliasing: ") + check("anti_aliasing"),
        "Basic edition: " + edition("basic"),
        "Advanced edition: " + edition("advanced"),
        "Duo edition: " + edition("duo"),
        std::string("Feature mask: ") + mask};
    g_object_unref(parser);
    return lines;
}

// The JSON's causes of the main card: each one's id and advice, and the whole array as written.
struct JsonCauses {
    std::vector<std::string> ids;
    std::vector<std::string> advice;
    std::string written;
};

JsonCauses CausesOfJson(const std::string& json) {
    JsonParser* parser = json_parser_new();
    EXPECT_TRUE(json_parser_load_from_data(parser, json.c_str(), -1, nullptr)) << json;
    JsonNode* node =
        json_object_get_member(json_node_get_object(json_parser_get_root(parser)), "causes");
    JsonCauses causes;
    JsonArray* array = json_node_get_array(node);
    for (guint i = 0; i < json_array_get_length(array); ++i) {
        JsonObject* cause = json_array_get_object_element(array, i);
        causes.ids.emplace_back(json_object_get_string_member(cause, "id"));
        causes.advice.emplace_back(json_object_get_string_member(cause, "advice"));
    }
    gchar* written = json_to_string(node, FALSE);
    causes.written = written;
    g_free(written);
    g_object_unref(parser);
    return causes;
}

// What follows the report's "Cause: " and "What to do: " of the main card, before its mask.
std::vector<std::pair<std::string, std::string>> ReportedCauses(
    const std::vector<std::string>& report) {
    const auto prefix = [](const char* key) {
        return StringWithFormat(LocalizedString(key), {""});
    };
    std::vector<std::pair<std::string, std::string>> causes;
    for (const std::string& line : report) {
        if (line.starts_with("Feature mask: ")) {
            break;
        }
        if (line.starts_with(prefix("ReportCause"))) {
            causes.emplace_back(line.substr(prefix("ReportCause").size()), "");
        } else if (line.starts_with(prefix("ReportWhatToDo")) && !causes.empty()) {
            causes.back().second = line.substr(prefix("ReportWhatToDo").size());
        }
    }
    return causes;
}

using SoftwareDriver = WindowTest;

TEST_F(SoftwareDriver, WindowSaysTheProcessorDrawsAndTheSummaryAddsWhy) {
    const char* chosen = std::getenv("GALLIUM_DRIVER");
    const std::string driver = chosen != nullptr ? chosen : "llvmpipe";
    // From the toolkit's display: Wayland when the test was given no X display.
    const bool wayland = std::getenv("DISPLAY") == nullptr;
    ASSERT_EQ(CurrentDisplaySystem() == DisplaySystem::Wayland, wayland);
    launch();
    EXPECT_THAT(field("oCardName")->stringValue(), ::testing::HasSubstr(driver));
    EXPECT_EQ(field("oRendering")->stringValue(), LocalizedString("RenderingSoftware"));
    const std::string shot = "readycheck-software-rendering-" + driver +
                             (std::getenv("MESA_EXTENSION_OVERRIDE") != nullptr ? "-override" : "");
    if (!wayland) {
        whileNextAlertIsOpen = [&] { saveScreenshot(shot + "-summary.png", true); };
    }
    ASSERT_TRUE(runReveal());
    // Never called ready; why, where this computer shows it, closes the summary.
    const std::vector<Cause>& causes = controller->facts().causes;
    EXPECT_EQ(alerts[0].message, LocalizedString("ResultSoftwareRenderingTitle"));
    EXPECT_THAT(alerts[0].detail,
                ::testing::EndsWith("\n\n" + LocalizedString("ResultSoftwareRendering") +
                                    (causes.empty() ? "" : "\n\n" + FirstCauseLine(causes))));
    // Headless Weston has no seat, so no clipboard: the text that Copy Report copies.
    const auto report = [&] {
        return wayland ? Lines(ReportText(controller->facts())) : copyReport(false);
    };
    if (!wayland) {
        saveScreenshot(shot + "-window.png");
    }
    EXPECT_THAT(report(), ::testing::IsSupersetOf(std::vector<::testing::Matcher<std::string>>{
                              "Rendering: " + LocalizedString("RenderingSoftware"),
                              ::testing::MatchesRegex("Feature mask: 0x[0-9A-F][0-9A-F]")}));

    // Without a window, the same driver gives the same report once the profiler has ended, and
    // the JSON object, as the schema describes it, the same answers.
    ASSERT_TRUE(runUntil([] { return TaskWrapper::count() == 0; }));
    const std::vector<std::string> copied = report();
    EXPECT_EQ(Lines(ProgramOutput("--report")), copied);
    const std::string json = ProgramOutput("--json");
    EXPECT_EQ(SchemaFaults(json), "");
    EXPECT_THAT(copied, ::testing::IsSupersetOf(JsonAsReportLines(json)));

    // One set of causes in each: the window's, the report's lines, the JSON's array (its advice
    // in English whatever the language) and the paragraphs that open the rendering's alert.
    const JsonCauses inJson = CausesOfJson(json);
    const auto reported = ReportedCauses(copied);
    std::vector<std::string> ids, reportedAdvice;
    std::string paragraphs;
    for (const Cause& cause : causes) {
        ids.emplace_back(CauseIdName(cause.id));
    }
    for (const auto& [found, advice] : reported) {
        reportedAdvice.push_back(advice);
        paragraphs += StringWithFormat(LocalizedString("AlertCauseFound"), {found}) + "\n" +
                      StringWithFormat(LocalizedString("AlertCauseAdvice"), {advice}) + "\n\n";
    }
    EXPECT_EQ(inJson.ids, ids);
    EXPECT_EQ(inJson.advice, reportedAdvice);
    setenv("LANGUAGE", "de", 1);
    EXPECT_EQ(CausesOfJson(ProgramOutput("--json")).written, inJson.written);
    unsetenv("LANGUAGE");
    controller->doInfoRendering(nullptr);
    ASSERT_EQ(alerts.size(), 2U);
    EXPECT_EQ(alerts[1].detail, paragraphs + LocalizedString("SoftwareRendering_detail"));
}

}  // namespace
