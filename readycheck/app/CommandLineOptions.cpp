#include "CommandLineOptions.h"

#include <gtk/gtk.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr const char* kSummary =
    "Tells whether this computer's graphics are ready for the 3D application's Basic, Advanced "
    "and Duo editions.";
constexpr const char* kDescription =
    "Without an option ReadyCheck shows its window; GTK's options, such as --display=DISPLAY "
    "for an X display, apply there. --report and --json need no display.\n\n"
    "Exit status: 0 the check ran, whatever it found; 1 it could not run (no display for the "
    "window, an operating system too old, no OpenGL driver); 64 a wrong command line.";

struct Flags {
    gboolean report = FALSE;
    gboolean json = FALSE;
    gboolean help = FALSE;
    gboolean version = FALSE;
};

struct ContextReleaser {
    void operator()(GOptionContext* context) const { g_option_context_free(context); }
};
using ContextOwner = std::unique_ptr<GOptionContext, ContextReleaser>;

ContextOwner MakeContext(Flags& flags) {
    const GOptionEntry entries[] = {
        {"report", 0, 0, G_OPTION_ARG_NONE, &flags.report,
         "Check without a window and print the report as text", nullptr},
        {"json", 0, 0, G_OPTION_ARG_NONE, &flags.json,
         "Check without a window and print the facts as one JSON object", nullptr},
        {"version", 0, 0, G_OPTION_ARG_NONE, &flags.version, "Print the version", nullptr},
        {"help", 'h', 0, G_OPTION_ARG_NONE, &flags.help, "Show the options", nullptr},
        {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr}};
    ContextOwner context(g_option_context_new(nullptr));
    g_option_context_set_summary(context.get(), kSummary);
    g_option_context_set_description(context.get(), kDescription);
    // Help is an option like the others: it must not exit from inside the parser.
    g_option_context_set_help_enabled(context.get(), FALSE);
    g_option_context_add_main_entries(context.get(), entries, nullptr);
    return context;
}

// Parses argv (its strings are taken out as they are recognised); an error text, or empty.
std::string Parse(GOptionContext* context, int* argc, char*** argv) {
    GError* error = nullptr;
    if (g_option_context_parse(context, argc, argv, &error) == FALSE) {
        std::string text = error != nullptr ? error->message : "cannot parse the options";
        g_clear_error(&error);
        return text;
    }
    if (*argc > 1) {
        return std::string("unexpected argument: ") + (*argv)[1];
    }
    return {};
}

// The modes asked for, in the order --help names them; more than one is a usage error.
std::vector<std::pair<RunMode, const char*>> ModesAsked(const Flags& flags) {
    std::vector<std::pair<RunMode, const char*>> modes;
    const std::pair<gboolean, std::pair<RunMode, const char*>> each[] = {
        {flags.report, {RunMode::Report, "--report"}},
        {flags.json, {RunMode::Json, "--json"}},
        {flags.version, {RunMode::Version, "--version"}},
        {flags.help, {RunMode::Help, "--help"}}};
    for (const auto& [asked, mode] : each) {
        if (asked != FALSE) {
            modes.push_back(mode);
        }
    }
    return modes;
}

}  // namespace

CommandLine ParseCommandLine(int* argc, char*** argv) {
    g_set_prgname("ReadyCheck");
    CommandLine result;
    Flags flags;
    ContextOwner context = MakeContext(flags);
    gchar* help = g_option_context_get_help(context.get(), TRUE, nullptr);
    result.help = help;
    g_free(help);

    // A first look, on a copy, only for the modes: GTK's options are known in the window only.
    {
        g_option_context_set_ignore_unknown_options(context.get(), TRUE);
        int copyCount = *argc;
        gchar** copy = g_new0(gchar*, *argc + 1);
        for (int i = 0; i < *argc; ++i) {
            copy[i] = (*argv)[i];
        }
        gchar** parsed = copy;  // the parser reorders the array, never frees its strings
        GError* error = nullptr;
        g_option_context_parse(context.get(), &copyCount, &parsed, &error);
        g_clear_error(&error);
        g_free(copy);
        g_option_context_set_ignore_unknown_options(context.get(), FALSE);
    }
    const auto modes = ModesAsked(flags);
    if (modes.size() > 1) {
        result.usageError =
            std::string(modes[0].second) + " and " + modes[1].second + " cannot be used together";
        return result;
    }
    result.mode = modes.empty() ? RunMode::Window : modes[0].first;
    if (result.mode == RunMode::Window) {
        g_option_context_add_group(context.get(), gtk_get_option_group(FALSE));
    }
    result.usageError = Parse(context.get(), argc, argv);
    return result;
}
