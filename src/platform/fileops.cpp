#include "platform/fileops.h"

#include "platform/apperror.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QFile>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void fail(const QString& what, const QString& reason)
{
    throw AppError(QStringLiteral("%1: %2.").arg(what, reason));
}

[[noreturn]] void fail(const QString& what, int error)
{
    fail(what, systemReason(error));
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
    return Descriptor(::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
}

bool isRegularFile(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

} // namespace

bool FileOps::exists(const QString& path)
{
    struct stat status {};
    return ::stat(native(path).constData(), &status) == 0;
}

QByteArray FileOps::read(const QString& path)
{
    const QString what = QStringLiteral("Nie można odczytać pliku %1").arg(path);
    Descriptor file = openForReading(path);
    if (!file.valid())
        fail(what, errno);
    if (!isRegularFile(file.fd()))
        fail(what, QStringLiteral("to nie jest zwykły plik"));
    QByteArray bytes;
    char chunk[1 << 16];
    for (;;) {
        const ssize_t count = ::read(file.fd(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            fail(what, errno);
        if (count == 0)
            return bytes;
        bytes.append(chunk, count);
    }
}

void FileOps::write(const QString& path, QByteArrayView bytes)
{
    const QString what = QStringLiteral("Nie można zapisać pliku %1").arg(path);
    Descriptor file(
        ::open(native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
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
    Descriptor file = openForReading(path);
    if (!file.valid() || !isRegularFile(file.fd()))
        return false;
    if (::flock(file.fd(), LOCK_EX | LOCK_NB) != 0)
        return false;
    return ::rename(native(path).constData(), native(newPath).constData()) == 0;
}
