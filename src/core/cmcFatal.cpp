#include "core/cmcFatal.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void defaultHandler(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    std::_Exit(70);
}

cmcFatalHandler& currentHandler() {
    static cmcFatalHandler handler = defaultHandler;
    return handler;
}

} // namespace

cmcFatalHandler cmcSetFatalHandler(cmcFatalHandler handler) {
    cmcFatalHandler previous = std::move(currentHandler());
    currentHandler() = handler ? std::move(handler) : cmcFatalHandler(defaultHandler);
    return previous;
}

void cmcFatal(const std::string& text) {
    currentHandler()(text, cmcProgramName());
    std::abort();
}

std::string cmcProgramName() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "ostrel";
    std::string full(path, static_cast<size_t>(n));
    size_t slash = full.rfind('/');
    return slash == std::string::npos ? full : full.substr(slash + 1);
}
