#include "platform/files/ownfile.h"

#include <pwd.h>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool statOf(const QString& path, struct stat& status)
{
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

bool writableByOthers(const struct stat& status)
{
    return (status.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

} // namespace

OwnFile::Standing OwnFile::of(const QString& path)
{
    struct stat status {};
    if (!statOf(path, status))
        return Standing::Missing;
    if (!S_ISREG(status.st_mode))
        return Standing::NotRegular;
    return status.st_uid == ::geteuid() && !writableByOthers(status) ? Standing::Own
                                                                     : Standing::Foreign;
}

QString OwnFile::whyForeign(const QString& path)
{
    struct stat status {};
    if (!statOf(path, status))
        return {};
    const QString owner = accountName(status.st_uid);
    if (status.st_uid != ::geteuid())
        return QStringLiteral("plik %1 należy do użytkownika %2, a program działa jako %3")
            .arg(path, owner, accountName(::geteuid()));
    return QStringLiteral("plik %1 użytkownika %2 mogą zmieniać także inni użytkownicy "
                          "(uprawnienia %3)")
        .arg(path, owner)
        .arg(status.st_mode & 07777, 4, 8, QLatin1Char('0'));
}

QString OwnFile::notUsed(const QString& path)
{
    return QStringLiteral("Program nie użyje pliku, który mógł zapisać ktoś inny: %1. Nic w nim "
                          "ani na jego podstawie nie zmieniono; naklejki czekają w kolejce. Jeśli "
                          "to plik programu uruchomionego przez tamtego użytkownika, niech ten "
                          "użytkownik uruchomi program; inaczej niech administrator usunie plik "
                          "albo zmieni jego właściciela (chown) i uprawnienia (chmod go-w).")
        .arg(whyForeign(path));
}

QString OwnFile::accountName(uid_t uid)
{
    if (const passwd* user = ::getpwuid(uid))
        return QString::fromLocal8Bit(user->pw_name);
    return QString::number(uid);
}
