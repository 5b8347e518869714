#include "platform/files/fileops.h"

#include "platform/apperror.h"
#include "platform/files/writeall.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

[[noreturn]] void fail(const QString& what, const QString& reason)
{
    throw AppError(QStringLiteral("%1: %2.").arg(what, reason));
}

[[noreturn]] void fail(const QString& what, int error)
{
    fail(what, FileOps::reason(error));
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int fd() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now and returns 0, or the error of the close.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Opening with O_NONBLOCK keeps a FIFO in place of the file from blocking the program.
Descriptor openForReading(const QString& path)
{
    return Descriptor(
        ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
}

// Taking the buffer renames it within its folder, which the folder's permissions decide.
QString renameNotAllowed()
{
    return QStringLiteral("brak uprawnień (przejęcie pliku wymaga prawa zapisu do folderu, a w "
                          "folderze z bitem sticky także bycia właścicielem pliku lub folderu)");
}

QString notARegularFile()
{
    return QStringLiteral("to nie jest zwykły plik");
}

bool isRegularFile(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Opens a regular file for writing, never through a link; O_NONBLOCK keeps a FIFO in its place
// from blocking the program until it is found out.
int openRegular(const QString& path, int flags, const QString& what)
{
    const int fd =
        ::open(native(path).constData(), flags | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(what, errno);
    if (!isRegularFile(fd)) {
        ::close(fd);
        fail(what, notARegularFile());
    }
    return fd;
}

} // namespace

bool FileOps::exists(const QString& path)
{
    struct stat status {};
    return ::lstat(native(path).constData(), &status) == 0;
}

qint64 FileOps::size(const QString& path)
{
    struct stat status {};
    if (::lstat(native(path).constData(), &status) == 0)
        return status.st_size;
    if (errno != ENOENT)
        fail(QStringLiteral("Nie można sprawdzić rozmiaru pliku %1").arg(path), errno);
    return 0;
}

QByteArray FileOps::read(const QString& path, qint64 offset, qint64 spare)
{
    const QString what = QStringLiteral("Nie można odczytać pliku %1").arg(path);
    Descriptor file = openForReading(path);
    if (!file.valid())
        fail(what, errno);
    if (!isRegularFile(file.fd()))
        fail(what, notARegularFile());
    if (::lseek(file.fd(), offset, SEEK_SET) < 0)
        fail(what, errno);
    // Read into room for the size the file has now, and further if it grows meanwhile: a saved
    // queue of a million lines is not copied from chunk to chunk.
    struct stat status {};
    ::fstat(file.fd(), &status);
    const qint64 expected = qMax<qint64>(status.st_size - offset, 0) + 1;
    QByteArray bytes;
    bytes.reserve(expected + spare);
    bytes.resize(expected);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t count =
            ::read(file.fd(), bytes.data() + filled, size_t(bytes.size() - filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            fail(what, errno);
        if (count == 0) {
            bytes.truncate(filled);
            return bytes;
        }
        filled += count;
    }
}

void FileOps::createNew(const QString& path, QByteArrayView bytes)
{
    const QString what = QStringLiteral("Nie można zapisać pliku %1").arg(path);
    remove(path);
    Descriptor file(::open(native(path).constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!file.valid())
        fail(what, errno);
    int error = 0;
    if (!writeAll(file.fd(), bytes) || ::fsync(file.fd()) != 0)
        error = errno;
    if (const int closeError = file.close(); error == 0)
        error = closeError;
    if (error != 0) {
        ::unlink(native(path).constData());
        fail(what, error);
    }
}

namespace {

// An unnamed file in the folder, written and flushed, then linked under `name`, so that it
// appears whole or not at all. False when the file system cannot make unnamed files.
bool linkUnnamed(int folder, const QString& name, QByteArrayView bytes, const QString& what)
{
    Descriptor file(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644));
    if (!file.valid() && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
        return false;
    if (!file.valid() || !writeAll(file.fd(), bytes) || ::fsync(file.fd()) != 0)
        fail(what, errno);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.fd());
    if (::linkat(AT_FDCWD, self.constData(), folder, native(name).constData(), AT_SYMLINK_FOLLOW) ==
        0)
        return true;
    if (errno == ENOENT)
        return false; // no /proc: name the file from the start instead
    fail(what, errno);
}

// A file created under `name`, then written and flushed.
void createNamed(int folder, const QString& name, QByteArrayView bytes, const QString& what)
{
    Descriptor file(::openat(folder, native(name).constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (file.valid() && writeAll(file.fd(), bytes) && ::fsync(file.fd()) == 0)
        return;
    const int error = errno;
    if (file.valid())
        ::unlinkat(folder, native(name).constData(), 0);
    fail(what, error);
}

} // namespace

QString FileOps::freeName(const QString& folder, const QString& stem, const QString& suffix)
{
    for (int copy = 1;; ++copy) {
        const QString name =
            copy == 1 ? stem + suffix : stem + QStringLiteral(" (%1)").arg(copy) + suffix;
        if (!exists(QDir(folder).filePath(name)))
            return name;
    }
}

void FileOps::createExclusive(const QString& path, QByteArrayView bytes,
                              const std::function<void()>& created)
{
    const QString folder = QFileInfo(path).path();
    const QString what = QStringLiteral("Nie można zapisać pliku %1").arg(path);
    if (::mkdir(native(folder).constData(), 0755) != 0 && errno != EEXIST)
        fail(what, errno);
    Descriptor directory(
        ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!directory.valid())
        fail(what, errno);
    const QString name = QFileInfo(path).fileName();
    if (!linkUnnamed(directory.fd(), name, bytes, what))
        createNamed(directory.fd(), name, bytes, what);
    if (::fsync(directory.fd()) != 0 && errno != EINVAL)
        fail(what, errno);
    created();
}

QString FileOps::identity(const QString& path)
{
    struct stat status {};
    if (::lstat(native(path).constData(), &status) != 0)
        return {};
    return QStringLiteral("%1:%2").arg(status.st_dev).arg(status.st_ino);
}

void FileOps::append(const QString& path, QByteArrayView bytes, Flush flush)
{
    const QString what = QStringLiteral("Nie można dopisać do pliku %1").arg(path);
    Descriptor file(openRegular(path, O_WRONLY | O_APPEND | O_CREAT, what));
    if (!writeAll(file.fd(), bytes) || (flush == Flush::Now && ::fsync(file.fd()) != 0))
        fail(what, errno);
    if (const int error = file.close(); error != 0)
        fail(what, error);
}

void FileOps::truncate(const QString& path, qint64 size)
{
    const QString what = QStringLiteral("Nie można skrócić pliku %1").arg(path);
    if (!exists(path))
        return;
    Descriptor file(openRegular(path, O_WRONLY, what));
    struct stat status {};
    if (::fstat(file.fd(), &status) != 0)
        fail(what, errno);
    if (status.st_size <= size)
        return;
    if (::ftruncate(file.fd(), size) != 0 || ::fsync(file.fd()) != 0)
        fail(what, errno);
}

void FileOps::rename(const QString& from, const QString& to)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        fail(QStringLiteral("Nie można zmienić nazwy pliku %1 na %2").arg(from, to), errno);
}

void FileOps::remove(const QString& path)
{
    if (::unlink(native(path).constData()) != 0 && errno != ENOENT)
        fail(QStringLiteral("Nie można usunąć pliku %1").arg(path), errno);
}

void FileOps::syncFolder(const QString& folder)
{
    Descriptor directory(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems cannot flush a folder; there is nothing more to be done on them.
    if (!directory.valid() || (::fsync(directory.fd()) != 0 && errno != EINVAL))
        fail(QStringLiteral("Nie można utrwalić zawartości folderu %1").arg(folder), errno);
}

bool FileOps::renameWhenUnlocked(const QString& path, const QString& newPath)
{
    const QString what = QStringLiteral("Nie można przejąć pliku %1").arg(path);
    Descriptor file = openForReading(path);
    if (!file.valid() && errno == ENOENT)
        return false;
    if (!file.valid())
        fail(what, errno);
    if (!isRegularFile(file.fd()))
        fail(what, notARegularFile());
    if (::flock(file.fd(), LOCK_EX | LOCK_NB) != 0)
        return false;
    if (::rename(native(path).constData(), native(newPath).constData()) != 0)
        fail(what, errno == EPERM || errno == EACCES ? renameNotAllowed() : reason(errno));
    return true;
}

QString FileOps::reason(int error)
{
    switch (error) {
    case ELOOP:
        return QStringLiteral("to jest dowiązanie symboliczne");
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień");
    case ENOENT:
        return QStringLiteral("nie ma takiego pliku ani folderu");
    case ENOSPC:
        return QStringLiteral("brak miejsca na dysku");
    case EROFS:
        return QStringLiteral("system plików jest tylko do odczytu");
    case EISDIR:
        return QStringLiteral("to jest folder");
    case ENOTDIR:
        return QStringLiteral("to nie jest folder");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}
