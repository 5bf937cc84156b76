#include "app/indBackupStore.h"

#include "core/cmcTextTables.h"
#include "model/indDataFile.h"
#include "model/indInfoCells.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

// Folders it makes are the user's alone, as the user's data folder itself is: a radio's data carries its
// passwords.
bool indBackupStore::MakeFolder(const std::string& path) {
    for (size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        const std::string part = at == std::string::npos ? path : path.substr(0, at);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (at == std::string::npos)
            break;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string indBackupStore::DefaultFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string base = data && data[0] == '/' ? std::string(data) : HomeFolder() + "/.local/share";
    return base + "/Ostrel/backups";
}

std::string indBackupStore::RadioName(const std::vector<uint8_t>& info) {
    std::string serial = indInfoCells::EsnText(info);
    return serial.empty() ? std::string(cmcTextTables::kModelId) : serial;
}

std::string indBackupStore::FileName(const std::string& radio, std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return radio + "-" + stamp + ".ocd";
}

cmcKvtFile::FileError indBackupStore::Save(const std::string& folder, const std::string& radio,
                                           std::time_t when, cmcEeprom& image, std::string& path) {
    path.clear();
    if (folder.empty() || !MakeFolder(folder))
        return cmcKvtFile::FileError::Open;
    const std::string name = FileName(radio, when);
    const std::string stem = folder + "/" + name.substr(0, name.size() - 4);
    std::string candidate = stem + ".ocd";
    // A backup is never replaced: it may be the only copy of a radio's original data.
    for (int n = 2; Exists(candidate); ++n) {
        if (n > 999)
            return cmcKvtFile::FileError::Open;
        candidate = stem + "-" + std::to_string(n) + ".ocd";
    }
    const cmcKvtFile::FileError code = indDataFile::Save(candidate, image, "");
    if (code == cmcKvtFile::FileError::Ok)
        path = candidate;
    return code;
}
