#include "platform/files/filelock.h"

#include "platform/apperror.h"
#include "platform/files/fileops.h"
#include "platform/files/ownfile.h"

#include <cerrno>
#include <fcntl.h>
#include <QFile>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int openLockFile(const QByteArray& path, int mode)
{
    constexpr int flags = O_CREAT | O_NOFOLLOW | O_CLOEXEC;
    const int fd = ::open(path.constData(), O_RDWR | flags, mode);
    if (fd >= 0 || errno != EACCES)
        return fd;
    return ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
}

// Whether `fd` is still the file that `path` names: a folder removed and made again holds a new
// lock file, which the old lock does not cover.
bool stillNamed(int fd, const QByteArray& path)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// A lock file that another account made and this one cannot open blocks the queue until the
// administrator removes it: the report says whose it is.
QString ofAnotherAccount(const QByteArray& path)
{
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0 || status.st_uid == ::geteuid())
        return {};
    return QStringLiteral(" Plik należy do użytkownika %1; niech administrator go usunie albo "
                          "zmieni jego właściciela (chown).")
        .arg(OwnFile::accountName(status.st_uid));
}

} // namespace

FileLock::~FileLock()
{
    release();
}

bool FileLock::tryLock(const QString& path, int mode)
{
    const QByteArray name = QFile::encodeName(path);
    if (held() && path == m_path && stillNamed(m_fd, name))
        return true;
    release();
    const int fd = openLockFile(name, mode);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const QString reason =
            fd < 0 ? FileOps::reason(errno) : QStringLiteral("to nie jest zwykły plik");
        if (fd >= 0)
            ::close(fd);
        throw AppError(QStringLiteral("Nie można otworzyć pliku blokady %1: %2.%3")
                           .arg(path, reason, ofAnotherAccount(name)));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void FileLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}
