// Runs a program, or a function in a child process, to its end, and tells what it wrote and how it
// ended. Each child runs in a process group of its own, the whole of which is killed at its bound.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// A change to this process's environment for a child: the variable set to value, or removed where
// value is null.
struct Variable {
    Variable(std::string variableName, const char* text);
    Variable(std::string variableName, std::string text);
    std::string name;
    std::optional<std::string> value;
};
// Made in order.
using EnvironmentChanges = std::vector<Variable>;

// As env(1) takes them, the removals first: "-u DISPLAY LC_ALL=C"; values are not quoted.
std::string EnvArguments(const EnvironmentChanges& variables);
void ApplyEnvironment(const EnvironmentChanges& variables);

struct Command {
    std::vector<std::string> arguments{};  // the first is looked up on PATH where it has no slash
    EnvironmentChanges environment{};
    std::optional<std::string> input{};  // standard input for RunProgram; else this process's own
    double bound = 60;                   // seconds, after which its process group is killed
    bool errorsIntoOutput = false;       // standard error where standard output goes, as 2>&1
    std::function<void()> meanwhile{};   // called about every 50 ms until it ends
};

struct Ran {
    int status = -1;  // the exit status; -1 where a signal ended it
    int signal = 0;   // the signal that ended it
    std::string output;
    std::string errors;
    double seconds = 0;
    bool timedOut = false;
};

// Waits for the end of its standard output and error as well: a process it leaves holding them
// keeps the run going until the bound.
Ran RunProgram(const Command& command);

// What body returned in a child process whose environment was changed as given, with
// " (child failed)" added where the child did not end with status 0.
std::string InChild(const EnvironmentChanges& changes, const std::function<std::string()>& body);
