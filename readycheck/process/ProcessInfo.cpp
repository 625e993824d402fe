#include "ProcessInfo.h"

#include <glib.h>

Environment ProcessEnvironment() {
    Environment environment;
    gchar** variables = g_get_environ();
    for (gchar** variable = variables; *variable != nullptr; ++variable) {
        const std::string entry(*variable);
        const auto equals = entry.find('=');
        if (equals != std::string::npos) {
            environment[entry.substr(0, equals)] = entry.substr(equals + 1);
        }
    }
    g_strfreev(variables);
    return environment;
}

std::string ExecutableDirectory() {
    gchar* program = g_file_read_link("/proc/self/exe", nullptr);
    if (program == nullptr) {
        return {};
    }
    gchar* directory = g_path_get_dirname(program);
    std::string result(directory);
    g_free(directory);
    g_free(program);
    return result;
}
