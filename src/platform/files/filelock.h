#pragma once

#include <QString>

// An advisory lock (flock) on a file, held from a successful tryLock until release() or
// destruction; the kernel releases it however the process ends. Locks of other processes
// exclude it whatever their user, and so do those of other FileLock objects in this process.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // True when this object now holds the lock on `path` (releasing any other it held); false
    // when another holder has it. Creates the file with `mode` when missing, never through a
    // link. A file this process may not write (another account's) is opened read-only: a lock
    // on a read-only descriptor excludes just the same. Other failures raise AppError naming
    // the file.
    bool tryLock(const QString& path, int mode);
    void release();

    bool held() const { return m_fd >= 0; }
    const QString& path() const { return m_path; }

private:
    int m_fd = -1;
    QString m_path;
};
