#include "SchemaCheck.h"

#include "RunProgram.h"

std::string SchemaFaults(const std::string& json, const std::string& definition) {
    Command check{.arguments = {"/usr/bin/python3", JSON_SCHEMA_CHECK, JSON_SCHEMA},
                  .input = json,
                  .errorsIntoOutput = true};
    if (!definition.empty()) {
        check.arguments.insert(check.arguments.end(), {"--definition", definition});
    }
    const Ran ran = RunProgram(check);
    return ran.status == 0 || !ran.output.empty()
               ? ran.output
               : "the checker failed: " + std::to_string(ran.status);
}
