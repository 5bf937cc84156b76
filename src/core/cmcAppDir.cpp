#include "core/cmcAppDir.h"

#include <cstdlib>
#include <unistd.h>

std::string cmcAppDir() {
    if (const char* env = std::getenv("OSTREL_DATA_DIR"); env && *env) {
        std::string dir(env);
        while (dir.size() > 1 && dir.back() == '/')
            dir.pop_back();
        return dir;
    }
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    std::string full(path, static_cast<size_t>(n));
    size_t slash = full.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : full.substr(0, slash);
}

std::string cmcAppFile(const std::string& name) {
    std::string dir = cmcAppDir();
    return dir == "/" ? "/" + name : dir + "/" + name;
}
