// Variables that make OpenGL draw in software or change what the driver reports.
#include <algorithm>
#include <cctype>
#include <set>

#include "CauseRules.h"

namespace {

// Mesa reads its boolean variables this way: anything else is false.
bool Truthy(std::string value) {
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return value == "1" || value == "true" || value == "yes" || value == "y";
}

// Forces software rendering, or a vendor library or driver other than the card's own.
bool Forces(const std::string& name, const std::string& value) {
    if (name == "LIBGL_ALWAYS_SOFTWARE" || name == "LIBGL_ALWAYS_INDIRECT") {
        return Truthy(value);
    }
    static const std::set<std::string> kChoosers{"MESA_LOADER_DRIVER_OVERRIDE",
                                                 "__GLX_VENDOR_LIBRARY_NAME",
                                                 "__EGL_VENDOR_LIBRARY_FILENAMES"};
    return kChoosers.contains(name) && !value.empty();
}

// Changes the version, extensions or software renderer the driver reports. Indirect rendering
// limits OpenGL to what the X server's GLX offers.
bool Changes(const std::string& name, const std::string& value) {
    static const std::set<std::string> kChangers{"GALLIUM_DRIVER", "MESA_GL_VERSION_OVERRIDE",
                                                 "MESA_EXTENSION_OVERRIDE"};
    return (kChangers.contains(name) && !value.empty()) ||
           (name == "LIBGL_ALWAYS_INDIRECT" && Truthy(value));
}

Cause VariablesCause(CauseId id, const std::string& foundKey, const Evidence& variables) {
    std::vector<std::string> assignments, names;
    for (const auto& [name, value] : variables) {
        assignments.push_back(name);
        assignments.back().append("=").append(value);
        names.push_back(name);
    }
    return {id,
            variables,
            {foundKey, {Joined(assignments)}},
            {"AdviceRemoveVariables", {Joined(names)}}};
}

}  // namespace

void AddEnvironmentCauses(const CauseScope& scope, std::vector<Cause>& causes) {
    const Evidence& variables = scope.evidence.driverVariables;
    Evidence forcing;
    if (scope.software && std::any_of(variables.begin(), variables.end(), [](const auto& variable) {
            return Forces(variable.first, variable.second);
        })) {
        // GALLIUM_DRIVER alone forces nothing; beside a variable that does, it picks the renderer.
        std::copy_if(variables.begin(), variables.end(), std::back_inserter(forcing),
                     [](const auto& variable) {
                         return Forces(variable.first, variable.second) ||
                                (variable.first == "GALLIUM_DRIVER" && !variable.second.empty());
                     });
        causes.push_back(
            VariablesCause(CauseId::ForcedByEnvironment, "CauseForcedByEnvironment", forcing));
    }
    Evidence changing;
    if (scope.checkFailed) {
        std::copy_if(variables.begin(), variables.end(), std::back_inserter(changing),
                     [&](const auto& variable) {
                         return Changes(variable.first, variable.second) &&
                                std::find(forcing.begin(), forcing.end(), variable) ==
                                    forcing.end();
                     });
    }
    if (!changing.empty()) {
        causes.push_back(VariablesCause(CauseId::AnswersChangedByEnvironment,
                                        "CauseAnswersChangedByEnvironment", changing));
    }
}
