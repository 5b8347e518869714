#include "platform/files/replacefile.h"

#include "platform/files/writeall.h"

#include <cerrno>
#include <fcntl.h>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Outcome { Replaced, Refused, Failed };

// A link is followed: the file it names is replaced and the link stays.
QByteArray target(const QString& fileName)
{
    const QString canonical = QFileInfo(fileName).canonicalFilePath();
    return QFile::encodeName(canonical.isEmpty() ? fileName : canonical);
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// The new file keeps the old one's permissions.
mode_t modeFor(const QByteArray& path)
{
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 ? status.st_mode & 07777 : 0644;
}

// Flushes the folder's entries, so that the rename outlives a power cut. A folder that cannot be
// opened for it cannot be flushed either: the rename stands.
bool syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

// A temporary file beside the target, written, flushed and renamed over it. Refused: the folder
// takes no new file or no rename over the target (no write permission, or a sticky folder and
// the file another account's).
Outcome replaceByRename(const QByteArray& path, QByteArrayView bytes)
{
    QByteArray temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? Outcome::Refused : Outcome::Failed;
    bool written = ::fchmod(fd, modeFor(path)) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written) {
        ::unlink(temporary.constData());
        return Outcome::Failed;
    }
    if (::rename(temporary.constData(), path.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return error == EACCES || error == EPERM ? Outcome::Refused : Outcome::Failed;
    }
    return syncFolder(folderOf(path)) ? Outcome::Replaced : Outcome::Failed;
}

// Writes over the file where it stands. Not atomic, so room for the new contents is reserved
// before anything is changed: a full disk leaves the file as it was.
bool rewriteInPlace(const QByteArray& path, QByteArrayView bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = (bytes.isEmpty() || ::posix_fallocate(fd, 0, bytes.size()) == 0) &&
                         writeAll(fd, bytes) && ::ftruncate(fd, bytes.size()) == 0 &&
                         ::fsync(fd) == 0;
    return ::close(fd) == 0 && written;
}

} // namespace

bool replaceFile(const QString& fileName, QByteArrayView bytes)
{
    const QByteArray path = target(fileName);
    // A file kept read-only is not replaced behind its owner's back.
    if (::access(path.constData(), W_OK) != 0 && errno != ENOENT)
        return false;
    switch (replaceByRename(path, bytes)) {
    case Outcome::Replaced:
        return true;
    case Outcome::Refused:
        return rewriteInPlace(path, bytes);
    case Outcome::Failed:
        break;
    }
    return false;
}
