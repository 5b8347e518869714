#include "platform/files/userfolder.h"

#include "platform/apperror.h"
#include "platform/files/fileops.h"

#include <cerrno>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// Why `folder` cannot be this user's private folder; empty when it can. lstat, so that a link
// is seen as a link and never followed.
QString whyNotPrivate(const QString& folder)
{
    struct stat status {};
    if (::lstat(native(folder).constData(), &status) != 0)
        return FileOps::reason(errno);
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("to jest dowiązanie symboliczne");
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("to nie jest folder");
    if (status.st_uid != ::getuid())
        return QStringLiteral("folder należy do innego użytkownika");
    if ((status.st_mode & 077) != 0)
        return QStringLiteral("folder jest dostępny dla innych użytkowników");
    return {};
}

} // namespace

QString UserFolder::choose(const QString& sessionFolder, const QString& fallback)
{
    if (!sessionFolder.isEmpty() && whyNotPrivate(sessionFolder).isEmpty())
        return sessionFolder;
    if (::mkdir(native(fallback).constData(), 0700) != 0 && errno != EEXIST)
        throw AppError(QStringLiteral("Nie można utworzyć folderu %1: %2.")
                           .arg(fallback, FileOps::reason(errno)));
    if (const QString reason = whyNotPrivate(fallback); !reason.isEmpty())
        throw AppError(QStringLiteral("Folder %1 nie nadaje się na blokadę programu: %2.")
                           .arg(fallback, reason));
    return fallback;
}

QString UserFolder::forInstanceChannel()
{
    const QString chosen = qEnvironmentVariable("ZELK_NAL_INSTANCE_DIR");
    if (!chosen.isEmpty())
        return choose(QString(), chosen);
    const QString uid = QString::number(::getuid());
    return choose(QStringLiteral("/run/user/") + uid, QStringLiteral("/tmp/zelk_nal-") + uid);
}
