// The application start: loads the interface file, creates the delegate, connects its outlets
// and actions by name, runs the main loop and sends applicationDidFinishLaunching.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "CardRowsView.h"
#include "Controls.h"

class ApplicationDelegate {
public:
    using OutletPointer =
        std::variant<Window**, TextField**, ImageView**, Button**, CardRowsView**>;
    struct Outlet {
        const char* name;
        OutletPointer pointer;
    };
    struct Action {
        const char* name;
        std::function<void(void* sender)> handler;
    };

    virtual ~ApplicationDelegate() = default;
    virtual std::vector<Outlet> outlets() = 0;
    virtual std::vector<Action> actions() = 0;
    virtual void applicationDidFinishLaunching() = 0;
};

using DelegateFactory = std::function<std::unique_ptr<ApplicationDelegate>()>;

// Returns the process's exit status: 1 with one line on standard error when no display opens or
// the interface file cannot be loaded, else 0 once the application terminated: by its close
// action, a termination signal, its window destroyed from outside or its X display lost, all of
// them one way; 0 too for a termination signal while it waits for a display to answer. The window
// and the probes use one display (ToolkitDisplay.h).
int ApplicationMain(int argc, char** argv, const DelegateFactory& makeDelegate);

// Ends the main loop; does not return (ApplicationTerminating unwinds to the run loop).
[[noreturn]] void TerminateApplication();

// For tests: the interface file loaded and connected, the delegate's launch sent, and the loop
// left to the caller. The returned object closes the window and deletes the delegate.
class LoadedApplication {
public:
    virtual ~LoadedApplication() = default;
};
std::unique_ptr<LoadedApplication> LoadApplication(ApplicationDelegate& delegate);
