// The window and its alerts in the locale's language, English where it has no texts.
#include <glib.h>

#include <optional>

#include "LocalizedStrings.h"
#include "StandIns.h"

namespace {

struct Language {
    const char* name;
    const char* language;  // LANGUAGE, or none
    const char* locale;    // LC_ALL
    const char* caption;   // of the first check, from the interface file
    const char* summary;   // the summary alert's message, from the code
};

constexpr const char* kGermanCaption = "Hardware-Rendering außerhalb des Bildschirms";
constexpr const char* kGermanSummary = "Ihre Grafik ist bereit";
constexpr const char* kEnglishCaption = "Hardware off-screen rendering";
constexpr const char* kEnglishSummary = "Your graphics are ready";

const Language kLanguages[] = {
    {"German", nullptr, "de_DE.UTF-8", kGermanCaption, kGermanSummary},
    {"C", nullptr, "C", kEnglishCaption, kEnglishSummary},
    {"Untranslated", nullptr, "fr_FR.UTF-8", kEnglishCaption, kEnglishSummary},
    {"FallbackChain", "fr:de", "fr_FR.UTF-8", kGermanCaption, kGermanSummary},
};

class Languages : public StandInWindowTest, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override {
        for (auto& [name, value] : mSaved) {
            const char* current = g_getenv(name);
            value = current != nullptr ? std::optional<std::string>(current) : std::nullopt;
        }
        Set("LANGUAGE", GetParam().language);
        Set("LC_ALL", GetParam().locale);
        StandInWindowTest::SetUp();
    }
    void TearDown() override {
        StandInWindowTest::TearDown();
        for (const auto& [name, value] : mSaved) {
            Set(name, value ? value->c_str() : nullptr);
        }
    }

private:
    static void Set(const char* name, const char* value) {
        value != nullptr ? void(g_setenv(name, value, TRUE)) : g_unsetenv(name);
    }
    std::pair<const char*, std::optional<std::string>> mSaved[2] = {{"LANGUAGE", {}},
                                                                    {"LC_ALL", {}}};
};

TEST_P(Languages, WindowAndAlertsShowTheLocalesTexts) {
    launch(0x1F);
    EXPECT_EQ(field("oHWOffLabel")->stringValue(), GetParam().caption);
    ASSERT_TRUE(runReveal());
    EXPECT_EQ(alerts.back().message, GetParam().summary);
    EXPECT_EQ(LocalizedString("NoSuchKey"), "NoSuchKey");
    saveScreenshot(std::string("readycheck-language-") + GetParam().name + ".png");
}

INSTANTIATE_TEST_SUITE_P(Locales, Languages, ::testing::ValuesIn(kLanguages),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
