#include "platform/files/replacement.h"

#include "platform/files/ownfile.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

using OwnFile::accountName;

QString whyNotReplaceable(const QString& path)
{
    const QString folder = QFileInfo(path).path();
    const QByteArray nativeFolder = QFile::encodeName(folder);
    struct stat folderStatus {};
    if (::stat(nativeFolder.constData(), &folderStatus) != 0 ||
        ::access(nativeFolder.constData(), W_OK | X_OK) != 0)
        return QStringLiteral("użytkownik %1 nie może zapisywać plików w folderze %2")
            .arg(accountName(::geteuid()), folder);
    struct stat fileStatus {};
    const uid_t self = ::geteuid();
    if (::lstat(QFile::encodeName(path).constData(), &fileStatus) != 0 || self == 0 ||
        !(folderStatus.st_mode & S_ISVTX) || fileStatus.st_uid == self ||
        folderStatus.st_uid == self)
        return {};
    return QStringLiteral("plik %1 należy do użytkownika %2, a folder %3 ma bit sticky: tylko "
                          "właściciel może ten plik zastąpić")
        .arg(path, accountName(fileStatus.st_uid), folder);
}
