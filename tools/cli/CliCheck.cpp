#include "Cli.h"

#include <cstdio>

int CliCheck(const CliArgs& args) {
    std::fprintf(stderr, "ostrel-cli check: not built yet\n");
    return kCliUsageError;
}
