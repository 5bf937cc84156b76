#pragma once
// Writes a file so that it is either wholly replaced or left as it was: the bytes go to a temporary
// file in the same folder, which is flushed to disk and renamed over the target only on Commit.
#include <cstddef>
#include <string>

class cmcAtomicFile {
public:
    explicit cmcAtomicFile(std::string path);
    // Removes the temporary file unless Commit succeeded.
    ~cmcAtomicFile();
    cmcAtomicFile(const cmcAtomicFile&) = delete;
    cmcAtomicFile& operator=(const cmcAtomicFile&) = delete;

    // Creates the temporary file. False when the target cannot be written (no such folder, the target
    // is not a regular file, no permission).
    bool Open();
    // Appends bytes; false on any failed write (disk full, file size limit, I/O error). After a failure
    // every later Write and Commit fails too.
    bool Write(const char* data, size_t count);
    // Flushes the temporary file to disk and renames it over the target. False leaves the target
    // untouched and the temporary file removed.
    bool Commit();

    // The temporary file's path while it exists (for tests), else empty.
    const std::string& TempPath() const { return m_temp; }

private:
    void Discard();

    std::string m_target; // symbolic links resolved, so a link keeps pointing at the data
    std::string m_temp;
    int m_fd = -1;
    bool m_failed = false;
};
