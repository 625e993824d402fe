#include "SchemaCheck.h"

#include <unistd.h>

#include <cstdio>

std::string SchemaFaults(const std::string& json, const std::string& definition) {
    FILE* document = std::tmpfile();
    if (document == nullptr) {
        return "cannot write the document";
    }
    std::fwrite(json.data(), 1, json.size(), document);
    std::fflush(document);
    // The file has no name: the checker reads it through this process's descriptor.
    const std::string command = "/usr/bin/python3 " JSON_SCHEMA_CHECK " " JSON_SCHEMA +
                                (definition.empty() ? "" : " --definition " + definition) +
                                " /proc/" + std::to_string(getpid()) + "/fd/" +
                                std::to_string(fileno(document)) + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string faults;
    char buffer[4096];
    for (std::size_t read = 0; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        faults.append(buffer, read);
    }
    const int status = pclose(pipe);
    std::fclose(document);
    return status == 0 || !faults.empty() ? faults
                                          : "the checker failed: " + std::to_string(status);
}
