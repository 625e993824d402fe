#include "CommandLineOptions.h"

#include <gtk/gtk.h>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "LocalizedStrings.h"
#include "StringFormat.h"

namespace {

// An argument echoed in a message is cut to this many characters.
constexpr long kEchoedCharacters = 80;

struct Flags {
    gboolean report = FALSE;
    gboolean json = FALSE;
    gboolean version = FALSE;
    gboolean help = FALSE;
    gboolean helpAll = FALSE;
    gboolean helpGtk = FALSE;
};

struct ContextReleaser {
    void operator()(GOptionContext* context) const { g_option_context_free(context); }
};
using ContextOwner = std::unique_ptr<GOptionContext, ContextReleaser>;

// Our texts are keys of the string table; the toolkit's group translates its own.
const gchar* Translate(const gchar* key, gpointer /*data*/) {
    return g_intern_string(LocalizedString(key).c_str());
}

ContextOwner MakeContext(Flags& flags) {
    const GOptionEntry entries[] = {
        {"report", 0, 0, G_OPTION_ARG_NONE, &flags.report, "OptionReport", nullptr},
        {"json", 0, 0, G_OPTION_ARG_NONE, &flags.json, "OptionJson", nullptr},
        {"version", 0, 0, G_OPTION_ARG_NONE, &flags.version, "OptionVersion", nullptr},
        {"help", 'h', 0, G_OPTION_ARG_NONE, &flags.help, "OptionHelp", nullptr},
        {"help-all", 0, 0, G_OPTION_ARG_NONE, &flags.helpAll, "OptionHelpAll", nullptr},
        {"help-gtk", 0, 0, G_OPTION_ARG_NONE, &flags.helpGtk, "OptionHelpGtk", nullptr},
        {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr}};
    ContextOwner context(g_option_context_new(nullptr));
    g_option_context_set_translate_func(context.get(), Translate, nullptr, nullptr);
    g_option_context_set_summary(context.get(), "OptionsSummary");
    g_option_context_set_description(context.get(), "OptionsDescription");
    // Help is an option like the others: it must not exit from inside the parser.
    g_option_context_set_help_enabled(context.get(), FALSE);
    GOptionGroup* group = g_option_group_new(nullptr, nullptr, nullptr, nullptr, nullptr);
    g_option_group_add_entries(group, entries);
    g_option_group_set_translate_func(group, Translate, nullptr, nullptr);
    g_option_context_set_main_group(context.get(), group);
    return context;
}

// Valid UTF-8, and no longer than an error line needs: an argument may be any bytes, of any
// length.
std::string Echoed(const char* argument) {
    gchar* valid = g_utf8_make_valid(argument, -1);
    std::string echoed = valid;
    if (g_utf8_strlen(valid, -1) > kEchoedCharacters) {
        echoed.resize(
            static_cast<std::size_t>(g_utf8_offset_to_pointer(valid, kEchoedCharacters) - valid));
        echoed += "…";
    }
    g_free(valid);
    return echoed;
}

std::string UsageLine(const std::string& key, const std::vector<std::string>& arguments) {
    return StringWithFormat(LocalizedString(key), arguments);
}

// GLib takes "--json=false" for "--json": a value given to one of our flags is an error. Options
// end at "--".
std::string ValueGivenToFlag(int argc, char** argv) {
    constexpr std::string_view kFlags[] = {"report", "json",     "version",
                                           "help",   "help-all", "help-gtk"};
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        const std::string_view argument(argv[i]);
        const std::size_t equals = argument.find('=');
        if (!argument.starts_with("--") || equals == std::string_view::npos) {
            continue;
        }
        for (const std::string_view flag : kFlags) {
            if (argument.substr(2, equals - 2) == flag) {
                return UsageLine("UsageFlagValue", {"--" + std::string(flag)});
            }
        }
    }
    return {};
}

// Parses argv (its strings are taken out as they are recognised); an error text, or empty. What
// follows "--" is an argument, and the "--" itself none.
std::string Parse(GOptionContext* context, int* argc, char*** argv) {
    GError* error = nullptr;
    if (g_option_context_parse(context, argc, argv, &error) == FALSE) {
        std::string text = Echoed(error != nullptr ? error->message : "?");
        g_clear_error(&error);
        return text;
    }
    int first = 1;
    if (first < *argc && std::string_view((*argv)[first]) == "--") {
        ++first;
    }
    if (first < *argc) {
        return UsageLine("UsageUnexpectedArgument", {Echoed((*argv)[first])});
    }
    return {};
}

// A first look, on a copy, only for the modes: GTK's options are known in the window only.
void LookForModes(GOptionContext* context, int argc, char** argv) {
    g_option_context_set_ignore_unknown_options(context, TRUE);
    int copyCount = argc;
    gchar** copy = g_new0(gchar*, argc + 1);
    for (int i = 0; i < argc; ++i) {
        copy[i] = argv[i];
    }
    gchar** parsed = copy;  // the parser reorders the array, never frees its strings
    GError* error = nullptr;
    g_option_context_parse(context, &copyCount, &parsed, &error);
    g_clear_error(&error);
    g_free(copy);
    g_option_context_set_ignore_unknown_options(context, FALSE);
}

// The modes asked for, in the order --help names them; more than one is a usage error.
std::vector<std::pair<RunMode, const char*>> ModesAsked(const Flags& flags) {
    std::vector<std::pair<RunMode, const char*>> modes;
    const std::pair<gboolean, std::pair<RunMode, const char*>> each[] = {
        {flags.report, {RunMode::Report, "--report"}},
        {flags.json, {RunMode::Json, "--json"}},
        {flags.version, {RunMode::Version, "--version"}},
        {flags.help, {RunMode::Help, "--help"}},
        {flags.helpAll, {RunMode::Help, "--help-all"}},
        {flags.helpGtk, {RunMode::Help, "--help-gtk"}}};
    for (const auto& [asked, mode] : each) {
        if (asked != FALSE) {
            modes.push_back(mode);
        }
    }
    return modes;
}

// Our options alone, before the toolkit's group is added; with the toolkit's, or the toolkit's
// alone, after.
std::string HelpText(GOptionContext* context, bool mainOnly, GOptionGroup* group = nullptr) {
    gchar* help = g_option_context_get_help(context, mainOnly ? TRUE : FALSE, group);
    std::string text = help;
    g_free(help);
    return text;
}

}  // namespace

CommandLine ParseCommandLine(int* argc, char*** argv) {
    g_set_prgname("ReadyCheck");
    CommandLine result;
    // Appended rather than prefixed: GCC 12 warns falsely (-Wrestrict) of a literal put before.
    const std::string see = std::string(" ").append(LocalizedString("UsageSeeHelp"));
    if (std::string error = ValueGivenToFlag(*argc, *argv); !error.empty()) {
        result.usageError = error + see;
        return result;
    }
    Flags flags;
    ContextOwner context = MakeContext(flags);
    result.help = HelpText(context.get(), true);
    LookForModes(context.get(), *argc, *argv);
    const auto modes = ModesAsked(flags);
    if (modes.size() > 1) {
        result.usageError = UsageLine("UsageTogether", {modes[0].second, modes[1].second}) + see;
        return result;
    }
    result.mode = modes.empty() ? RunMode::Window : modes[0].first;
    // Help names the toolkit's options, so it takes them as the window does.
    GOptionGroup* toolkit = nullptr;
    if (result.mode == RunMode::Window || result.mode == RunMode::Help) {
        if (result.mode == RunMode::Help) {
            gtk_disable_setlocale();  // set already; GTK would only warn again where it fails
        }
        toolkit = gtk_get_option_group(FALSE);
        g_option_context_add_group(context.get(), toolkit);
    }
    result.usageError = Parse(context.get(), argc, argv);
    if (!result.usageError.empty()) {
        result.usageError += see;
    } else if (flags.helpAll != FALSE || flags.helpGtk != FALSE) {
        result.help = HelpText(context.get(), false, flags.helpGtk != FALSE ? toolkit : nullptr);
    }
    return result;
}
