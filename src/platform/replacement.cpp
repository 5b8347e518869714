#include "platform/replacement.h"

#include <pwd.h>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString userName(uid_t uid)
{
    if (const passwd* user = ::getpwuid(uid))
        return QString::fromLocal8Bit(user->pw_name);
    return QString::number(uid);
}

} // namespace

QString whyNotReplaceable(const QString& path)
{
    const QString folder = QFileInfo(path).path();
    const QByteArray nativeFolder = QFile::encodeName(folder);
    struct stat folderStatus {};
    if (::stat(nativeFolder.constData(), &folderStatus) != 0 ||
        ::access(nativeFolder.constData(), W_OK | X_OK) != 0)
        return QStringLiteral("użytkownik %1 nie może zapisywać plików w folderze %2")
            .arg(userName(::geteuid()), folder);
    struct stat fileStatus {};
    const uid_t self = ::geteuid();
    if (::lstat(QFile::encodeName(path).constData(), &fileStatus) != 0 || self == 0 ||
        !(folderStatus.st_mode & S_ISVTX) || fileStatus.st_uid == self ||
        folderStatus.st_uid == self)
        return {};
    return QStringLiteral("plik %1 należy do użytkownika %2, a folder %3 ma bit sticky: tylko "
                          "właściciel może ten plik zastąpić")
        .arg(path, userName(fileStatus.st_uid), folder);
}
