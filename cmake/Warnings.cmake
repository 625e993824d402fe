# Warnings for the project's own targets; third-party headers come in as system includes.
option(READYCHECK_WERROR "Treat compiler warnings as errors (CI and scripts/test.sh turn it on)" OFF)

add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
    -Wall -Wextra -Wpedantic
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Wunused -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
    $<$<BOOL:${READYCHECK_WERROR}>:-Werror>)
