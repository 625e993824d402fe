// One line on standard error per message, as "program[pid]: text".
#pragma once

#include <string>

void Log(const std::string& text);
