// ostrel-cli: clone data files and radios from a shell.
#include "Cli.h"

#include <cstdio>
#include <cstring>

namespace {

void printHelp(FILE* out) {
    std::fprintf(out, "usage: ostrel-cli VERB [ARGS]\n\nverbs:\n");
    for (const CliVerb& v : CliVerbs())
        std::fprintf(out, "  %-8s %-30s %s\n", v.name, v.usage, v.summary);
    std::fprintf(out, "\n  --help                                  this list\n");
    std::fputs(CliCellHelpText(), out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printHelp(stderr);
        return kCliUsageError;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        printHelp(stdout);
        return 0;
    }
    for (const CliVerb& v : CliVerbs()) {
        if (std::strcmp(argv[1], v.name) != 0)
            continue;
        CliArgs args;
        if (!CliParse(v, argc - 2, argv + 2, args))
            return kCliUsageError;
        return v.run(args);
    }
    std::fprintf(stderr, "ostrel-cli: unknown verb '%s' (see ostrel-cli --help)\n", argv[1]);
    return kCliUsageError;
}
