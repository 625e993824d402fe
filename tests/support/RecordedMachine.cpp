#include "RecordedMachine.h"

#include <fstream>

std::optional<std::string> RecordedAnswer(const std::filesystem::path& machine,
                                          const std::string& subject, const std::string& question) {
    std::ifstream answers(machine / "answers");
    for (std::string who, what, value; answers >> who >> what >> value;) {
        if (who == subject && what == question) {
            return value;
        }
    }
    return std::nullopt;
}
