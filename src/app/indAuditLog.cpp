#include "app/indAuditLog.h"

#include "app/cmcCsv.h"
#include "app/indBackupStore.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string indAuditLog::DefaultPath() {
    // The backups' folder sits in the program's data folder; the log goes beside it.
    std::string folder = indBackupStore::DefaultFolder();
    folder.erase(folder.rfind('/'));
    return folder + "/fleet-log.csv";
}

std::string indAuditLog::TimeText(std::time_t when) {
    std::tm utc{};
    ::gmtime_r(&when, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

bool indAuditLog::Append(const std::string& path, const Entry& entry, std::string& error) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !indBackupStore::MakeFolder(path.substr(0, slash))) {
        error = "cannot make the folder of " + path;
        return false;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    std::string text;
    if (::fstat(fd, &st) == 0 && st.st_size == 0)
        text = cmcCsv::Write({"time", "port", "serial", "firmware", "result", "result text", "backup"});
    // A result text may run over several lines; the log keeps one line per row where it can.
    std::string oneLine = entry.text;
    for (char& c : oneLine)
        if (c == '\n' || c == '\r')
            c = ' ';
    text += cmcCsv::Write({TimeText(entry.when), entry.port, entry.serial, entry.firmware,
                           std::to_string(entry.code), oneLine, entry.backup});
    // One write per row: rows of radios that finish together are never interleaved.
    const ssize_t n = ::write(fd, text.data(), text.size());
    const bool ok = n == static_cast<ssize_t>(text.size());
    if (!ok)
        error = "cannot write " + path + (n < 0 ? std::string(": ") + std::strerror(errno) : std::string());
    if (::close(fd) != 0 && ok) {
        error = "cannot write " + path;
        return false;
    }
    return ok;
}
