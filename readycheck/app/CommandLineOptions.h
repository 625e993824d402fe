// The program's options, parsed before the toolkit opens a display: only the window mode and
// help let GTK's options (--display) in, and only the window opens a display. Texts and messages
// are in the user's language.
#pragma once

#include <string>

enum class RunMode { Window, Report, Json, Help, Version };

// Exit statuses: the check ran (whatever it found), it could not run, the command line was wrong.
constexpr int kExitChecked = 0;
constexpr int kExitCouldNotCheck = 1;
constexpr int kExitUsage = 64;

struct CommandLine {
    RunMode mode = RunMode::Window;
    std::string usageError;  // the line to print, empty when the command line is right
    std::string help;        // the text --help, --help-all or --help-gtk prints
};

// Takes out of argc and argv what it parsed; in the window mode that includes GTK's options.
// A value given to a flag ("--json=false") is a usage error; so is an argument, also after "--".
CommandLine ParseCommandLine(int* argc, char*** argv);
