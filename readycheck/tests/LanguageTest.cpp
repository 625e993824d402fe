// The window and its alerts in the locale's language, English where it has no texts.
#include <glib.h>

#include "StandIns.h"

namespace {

using Languages = StandInWindowTest;

TEST_F(Languages, WindowAndSummaryShowTheLocalesTexts) {
    const std::string saved = g_getenv("LC_ALL") != nullptr ? g_getenv("LC_ALL") : "";
    g_unsetenv("LANGUAGE");
    // The locale, the first check's caption (from the interface file) and the summary (from the
    // code).
    for (const auto& [locale, caption, summary] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"de_DE.UTF-8", "Hardware-Rendering außerhalb des Bildschirms",
              "Ihre Grafik ist bereit"},
             {"C", "Hardware off-screen rendering", "Your graphics are ready"},
             {"fr_FR.UTF-8", "Hardware off-screen rendering", "Your graphics are ready"}}) {
        g_setenv("LC_ALL", locale.c_str(), TRUE);
        launch(0x1F);
        EXPECT_EQ(field("oHWOffLabel")->stringValue(), caption);
        ASSERT_TRUE(runReveal());
        EXPECT_EQ(alerts.back().message, summary);
        saveScreenshot("readycheck-language-" + locale + ".png");
    }
    g_setenv("LC_ALL", saved.c_str(), TRUE);
}

}  // namespace
