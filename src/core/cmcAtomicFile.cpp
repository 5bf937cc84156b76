#include "core/cmcAtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable; a folder that cannot be synced is no reason to fail the save.
void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

cmcAtomicFile::cmcAtomicFile(std::string path) : m_target(std::move(path)) {}

cmcAtomicFile::~cmcAtomicFile() {
    Discard();
}

bool cmcAtomicFile::Open() {
    if (m_fd >= 0 || m_target.empty())
        return false;
    struct stat st {};
    mode_t mode = 0666; // narrowed by the umask when the file is new
    bool exists = false;
    if (::lstat(m_target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(m_target.c_str(), resolved) != nullptr)
            m_target = resolved;
    }
    if (::stat(m_target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || ::access(m_target.c_str(), W_OK) != 0)
            return false;
        exists = true;
        mode = st.st_mode & 07777;
    }

    std::string folder = folderOf(m_target);
    size_t slash = m_target.rfind('/');
    std::string name = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%d.%08x.tmp", static_cast<int>(::getpid()), random());
        std::string temp = (folder == "/" ? "/" : folder + "/") + "." + name + suffix;
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            m_fd = fd;
            m_temp = temp;
            // An existing file keeps its permissions, exactly; a new one gets the usual umask.
            if (exists)
                ::fchmod(m_fd, mode);
            m_failed = false;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool cmcAtomicFile::Write(const char* data, size_t count) {
    if (m_fd < 0 || m_failed)
        return false;
    while (count > 0) {
        ssize_t n = ::write(m_fd, data, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_failed = true;
            return false;
        }
        data += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

bool cmcAtomicFile::Commit() {
    if (m_fd < 0 || m_failed) {
        Discard();
        return false;
    }
    bool ok = ::fsync(m_fd) == 0;
    ok = ::close(m_fd) == 0 && ok;
    m_fd = -1;
    if (ok)
        ok = ::rename(m_temp.c_str(), m_target.c_str()) == 0;
    if (!ok) {
        Discard();
        return false;
    }
    m_temp.clear();
    syncFolder(folderOf(m_target));
    return true;
}

void cmcAtomicFile::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
    m_failed = true;
}
