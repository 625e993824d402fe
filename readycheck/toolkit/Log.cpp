#include "Log.h"

#include <glib.h>
#include <unistd.h>

#include <cstdio>

void Log(const std::string& text) {
    const char* program = g_get_prgname();
    std::fprintf(stderr, "%s[%ld]: %s\n", program != nullptr ? program : "ReadyCheck",
                 static_cast<long>(getpid()), text.c_str());
    std::fflush(stderr);
}
