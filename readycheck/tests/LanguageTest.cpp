// The window and its alerts in the locale's language, English where it has no texts.
#include <glib.h>

#include "LocalizedStrings.h"
#include "StandIns.h"

namespace {

struct Language {
    const char* locale;   // LC_ALL
    const char* caption;  // of the first check, from the interface file
    const char* summary;  // the summary alert's message, from the code
};

class Languages : public StandInWindowTest, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override {
        const char* saved = g_getenv("LC_ALL");
        mSaved = saved != nullptr ? saved : "";
        g_unsetenv("LANGUAGE");
        g_setenv("LC_ALL", GetParam().locale, TRUE);
        StandInWindowTest::SetUp();
    }
    void TearDown() override {
        StandInWindowTest::TearDown();
        g_setenv("LC_ALL", mSaved.c_str(), TRUE);
    }
    std::string mSaved;
};

TEST_P(Languages, WindowAndAlertsShowTheLocalesTexts) {
    launch(0x1F);
    EXPECT_EQ(field("oHWOffLabel")->stringValue(), GetParam().caption);
    ASSERT_TRUE(runReveal());
    EXPECT_EQ(alerts.back().message, GetParam().summary);
    saveScreenshot(std::string("readycheck-language-") + GetParam().locale + ".png");
}

INSTANTIATE_TEST_SUITE_P(
    Locales, Languages,
    ::testing::Values(Language{"de_DE.UTF-8", "Hardware-Rendering außerhalb des Bildschirms",
                               "Ihre Grafik ist bereit"},
                      Language{"C", "Hardware off-screen rendering", "Your graphics are ready"},
                      Language{"fr_FR.UTF-8", "Hardware off-screen rendering",
                               "Your graphics are ready"}),
    [](const auto& row) { return std::to_string(row.index); });

}  // namespace
