// The other graphics cards in the real window and from the program's command line, listed by a
// stand-in switcheroo-control on a private bus and each probed by the real helper on one of
// Mesa's software drivers. Leaves a screenshot of the window in the working directory.
#include <gmock/gmock.h>
#include <json-glib/json-glib.h>

#include <csignal>
#include <filesystem>

#include "Assessment.h"
#include "FactsJson.h"
#include "LocalizedStrings.h"
#include "OtherCardTexts.h"
#include "ProcessInfo.h"
#include "Processes.h"
#include "RunLoop.h"
#include "RunProgram.h"
#include "SchemaCheck.h"
#include "StartedProgram.h"
#include "WindowFixture.h"

namespace {

struct Gpu {
    std::string name;
    std::vector<std::string> environment;
    bool isDefault = false;
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string GpusParameter(const std::vector<Gpu>& gpus) {
    std::string json = "{\"GPUs\": [";
    for (const Gpu& gpu : gpus) {
        json += std::string(&gpu == gpus.data() ? "" : ", ") + "{\"Name\": " + Quoted(gpu.name) +
                ", \"Default\": " + (gpu.isDefault ? "true" : "false") + ", \"Environment\": [";
        for (const std::string& item : gpu.environment) {
            json += (&item == gpu.environment.data() ? "" : ", ") + Quoted(item);
        }
        json += "]}";
    }
    return json + "]}";
}

// switcheroo-control as python3-dbusmock serves it on a bus of its own, which the program finds
// through DBUS_SYSTEM_BUS_ADDRESS while this lives.
class StandInSwitcheroo {
public:
    // The stand-in logs every call on its standard output.
    explicit StandInSwitcheroo(const std::vector<Gpu>& gpus)
        : mMock({{"/usr/bin/python3", "-m", "dbusmock", "-t", STAND_IN_TEMPLATE, "-p",
                  GpusParameter(gpus)},
                 {{"DBUS_SYSTEM_BUS_ADDRESS", mAddress}}},
                StartedProgram::Output::Discarded) {
        setenv("DBUS_SYSTEM_BUS_ADDRESS", mAddress.c_str(), 1);
        EXPECT_EQ(RunProgram({{"gdbus", "wait", "--address", mAddress, "--timeout", "10",
                               "net.hadess.SwitcherooControl"}})
                      .status,
                  0)
            << "the stand-in took the service's name";
    }
    ~StandInSwitcheroo() {
        mMock.stop(SIGTERM);
        mDaemon.stop(SIGTERM);
        if (mSaved) {
            setenv("DBUS_SYSTEM_BUS_ADDRESS", mSaved->c_str(), 1);
        } else {
            unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        }
    }
    StandInSwitcheroo(const StandInSwitcheroo&) = delete;
    StandInSwitcheroo& operator=(const StandInSwitcheroo&) = delete;

private:
    static std::optional<std::string> Saved() {
        const char* value = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

    std::optional<std::string> mSaved = Saved();
    // The bus complains on standard error that it may not raise its file limit.
    StartedProgram mDaemon{
        {{"/bin/sh", "-c", "exec dbus-daemon --session --nofork --print-address=1 2>/dev/null"}},
        StartedProgram::Output::Piped};
    std::string mAddress = mDaemon.readLine();
    StartedProgram mMock;
};

// Whether a copy of the helper still runs.
bool HelperRunning() {
    return Runs(std::filesystem::weakly_canonical(Controller::cardProbePath()));
}

class OtherCardsOnStandIn : public WindowTest {
protected:
    CardRowsView* rows() { return outlet<CardRowsView>("oOtherCards"); }
    bool everyCardAnswered() {
        const auto& cards = controller->facts().otherCards;
        return !cards.empty() && std::all_of(cards.begin(), cards.end(), [](const OtherCard& card) {
            return card.status != CardStatus::Waiting && card.status != CardStatus::Checking;
        });
    }
    // The summary is the main card's whatever the other cards are; software is never ready.
    void expectTheMainCardsSummary() {
        ASSERT_EQ(alerts.size(), 1U);
        const Facts& facts = controller->facts();
        EXPECT_EQ(alerts[0].message,
                  LocalizedString(facts.rendering == Rendering::Software
                                      ? "ResultSoftwareRenderingTitle"
                                      : Verdicts::summaryKey(facts.featuresMask)));
    }

    const Gpu mainCard{"Main card", {}, true};
};

// Mesa's warning that one of them cannot be disabled goes to standard error, not the answer.
constexpr const char* kWithoutShaders =
    "-GL_ARB_shader_objects -GL_ARB_vertex_shader -GL_ARB_fragment_shader";

TEST_F(OtherCardsOnStandIn, EachRowFromItsOwnProbeAndTheReportAndJsonTellTheSame) {
    StandInSwitcheroo service(
        {mainCard,
         {"Stand-in softpipe", {"GALLIUM_DRIVER", "softpipe"}},
         {"Stand-in softpipe without shaders",
          {"GALLIUM_DRIVER", "softpipe", "MESA_EXTENSION_OVERRIDE", kWithoutShaders}}});
    launch();
    ASSERT_TRUE(runReveal());  // while the cards are probed
    expectTheMainCardsSummary();
    ASSERT_TRUE(runUntil([&] { return everyCardAnswered(); }, 30));
    const Facts& facts = controller->facts();
    ASSERT_EQ(facts.otherCards.size(), 2U);
    const CardFacts& softpipe = facts.otherCards[0].facts;
    const CardFacts& withoutShaders = facts.otherCards[1].facts;
    for (const OtherCard& card : facts.otherCards) {
        EXPECT_EQ(card.status, CardStatus::Checked) << card.name;
        EXPECT_EQ(card.facts.renderer, "softpipe");
        EXPECT_FALSE(card.facts.assessment.antiAliasing) << "softpipe has no multisampling";
        EXPECT_NE(card.facts.assessment, facts.assessment) << "not the main card's answer";
    }
    EXPECT_TRUE(softpipe.assessment.lighting);
    EXPECT_FALSE(withoutShaders.assessment.lighting);
    EXPECT_EQ(withoutShaders.assessment.duo, EditionSupport::SignificantLimitations);
    EXPECT_EQ(rows()->shownRows(), OtherCardRows(facts.otherCards));
    EXPECT_EQ(rows()->shownRows().at(1).verdictNames.at(2),
              "Duo edition on Stand-in softpipe without shaders: significant limitations");
    saveScreenshot("readycheck-other-cards-window.png");

    rows()->pressButton(1);
    ASSERT_EQ(alerts.size(), 2U);
    EXPECT_EQ(alerts[1].message,
              "Starting the 3D application on Stand-in softpipe without shaders");
    EXPECT_THAT(alerts[1].detail, ::testing::HasSubstr("Launch using Discrete Graphics Card"));

    // Without a window, the same cards give the same report, and the JSON object each card.
    const std::vector<std::string> copied = copyReport(false);
    EXPECT_EQ(Lines(ProgramOutput("--report")), copied);
    EXPECT_THAT(copied, ::testing::Contains("Other graphics card: Stand-in softpipe"));
    const std::string json = ProgramOutput("--json");
    EXPECT_EQ(SchemaFaults(json), "");
    JsonParser* parser = json_parser_new();
    ASSERT_TRUE(json_parser_load_from_data(parser, json.c_str(), -1, nullptr));
    JsonArray* others = json_object_get_array_member(
        json_node_get_object(json_parser_get_root(parser)), "other_cards");
    ASSERT_EQ(json_array_get_length(others), 2U);
    JsonObject* second = json_array_get_object_element(others, 1);
    EXPECT_STREQ(json_object_get_string_member(second, "status"), "checked");
    EXPECT_EQ(json_object_get_int_member(second, "feature_mask"), withoutShaders.featuresMask);
    EXPECT_STREQ(json_object_get_string_member(json_object_get_object_member(second, "environment"),
                                               "MESA_EXTENSION_OVERRIDE"),
                 kWithoutShaders);
    g_object_unref(parser);
}

// Offload that did not take, and helpers that crash, print garbage or hang: each row says so,
// the reveal and its summary are the main card's, and no helper is left running.
TEST_F(OtherCardsOnStandIn, CardsWithoutAnAnswerOfTheirOwnSayWhy) {
    const std::vector<std::string> fault{"LD_PRELOAD", CARD_FAULT_LIBRARY, "READYCHECK_TEST_FAULT"};
    const auto failing = [&](const std::string& name, const std::string& kind) {
        std::vector<std::string> environment = fault;
        environment.push_back(kind);
        return Gpu{name, environment};
    };
    StandInSwitcheroo service({mainCard,
                               {"Unchanged", {"READYCHECK_UNUSED", "1"}},
                               failing("Crashing", "crash"),
                               failing("Garbled", "garbage"),
                               failing("Hanging", "hang")});
    cardProbeBound = 1.0;
    launch();
    ASSERT_TRUE(runReveal());
    expectTheMainCardsSummary();
    ASSERT_TRUE(runUntil([&] { return everyCardAnswered(); }, 20));
    const std::vector<CardRow> shown = rows()->shownRows();
    const std::vector<std::string> states{
        "Not reachable from this session: " + LocalizedString("OtherCardOffloadNotSetUp"),
        "Could not be checked: the check was ended by signal 6 (SIGABRT)",
        "Could not be checked: " + LocalizedString("OtherCardUnreadable"),
        "Could not be checked: " + LocalizedString("OtherCardTimedOut")};
    ASSERT_EQ(shown.size(), states.size());
    for (std::size_t i = 0; i < states.size(); ++i) {
        EXPECT_EQ(shown[i].state, states[i]);
        EXPECT_TRUE(shown[i].verdicts.empty());
        EXPECT_EQ(shown[i].stateName, controller->facts().otherCards[i].name + ": " + states[i]);
    }
    EXPECT_FALSE(HelperRunning());
}

// From a terminal that stops background jobs that write to it (stty tostop), a card's helper
// that warns there still answers at once; a driver's vendor string that is not UTF-8 (Mesa's
// force_gl_vendor) reads back from the helper, and the JSON is UTF-8.
TEST_F(OtherCardsOnStandIn, ATerminalAndADriversBytesLeaveTheAnswersAlone) {
    StandInSwitcheroo service(
        {mainCard,
         {"Warning softpipe",
          {"GALLIUM_DRIVER", "softpipe", "MESA_EXTENSION_OVERRIDE", "-GL_ARB_multisample"}}});
    const std::filesystem::path json = std::filesystem::absolute("terminal.json");
    const std::string command = "stty tostop; force_gl_vendor=$(printf \"Soci\\351t\\351\") " +
                                ExecutableDirectory() + "/ReadyCheck --json >" + json.string();
    const Ran ran = RunProgram({{"script", "-qec", command, "/dev/null"}});
    EXPECT_LT(ran.seconds, 8) << "no bound";
    EXPECT_EQ(ran.status, 0) << ran.output;
    JsonParser* parser = json_parser_new();
    ASSERT_TRUE(json_parser_load_from_file(parser, json.c_str(), nullptr));
    JsonObject* root = json_node_get_object(json_parser_get_root(parser));
    const std::string replaced = "Soci\xef\xbf\xbdt\xef\xbf\xbd";
    EXPECT_EQ(json_object_get_string_member(root, "manufacturer"), replaced);
    JsonObject* card =
        json_array_get_object_element(json_object_get_array_member(root, "other_cards"), 0);
    ASSERT_STREQ(json_object_get_string_member(card, "status"), "checked");
    EXPECT_STREQ(json_object_get_string_member(card, "renderer"), "softpipe");
    EXPECT_EQ(json_object_get_string_member(card, "manufacturer"), replaced);
    g_object_unref(parser);
    std::filesystem::remove(json);
}

// Closing the window while a card is checked stops its helper at once.
TEST_F(OtherCardsOnStandIn, ClosingWhileACardIsCheckedLeavesNoHelper) {
    StandInSwitcheroo service(
        {mainCard,
         {"Hanging", {"LD_PRELOAD", CARD_FAULT_LIBRARY, "READYCHECK_TEST_FAULT", "hang"}}});
    launch();
    ASSERT_TRUE(runUntil([&] { return HelperRunning(); }, 10));
    EXPECT_EQ(rows()->shownRows().at(0).state, LocalizedString("OtherCardChecking"));
    application.reset();
    controller.reset();
    RunLoop::main().drainDeferred();
    EXPECT_FALSE(HelperRunning());
}

}  // namespace
