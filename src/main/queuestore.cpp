#include "main/queuestore.h"

#include "main/queuefile.h"
#include "platform/apperror.h"
#include "platform/fileops.h"

#include <QFileInfo>

namespace {

QString takenName(const QString& buffer)
{
    return buffer + QStringLiteral(".taken");
}

} // namespace

struct QueueStore::FileNames {
    explicit FileNames(const QueueLocation& location)
        : saved(location.folder + QStringLiteral("zelk.nal"))
        , fold(saved + QStringLiteral(".fold"))
        , temp(saved + QStringLiteral(".tmp"))
        , lock(saved + QStringLiteral(".lock"))
        , folder(QFileInfo(saved).path())
        , buffer(location.buffer)
        , taken(takenName(buffer))
        , bufferFolder(QFileInfo(buffer).path())
    {
    }

    QString saved;
    QString fold;
    QString temp;
    QString lock;
    QString folder;
    QString buffer;
    QString taken;
    QString bufferFolder;
};

namespace {

using FileNames = QueueStore::FileNames;

bool isRegularFile(const QString& path)
{
    return QFileInfo(path).isFile() && !QFileInfo(path).isSymLink();
}

// Brings a fold cut short to its end: without its taken file it committed and replaces the
// saved-queue file; beside its taken file it never committed and goes. Anything but a regular
// file under the fold's name is no fold of this program's and goes too.
void settleFold(const FileNames& names)
{
    if (!FileOps::exists(names.fold))
        return;
    if (FileOps::exists(names.taken) || !isRegularFile(names.fold)) {
        FileOps::remove(names.fold);
        return;
    }
    FileOps::rename(names.fold, names.saved);
    FileOps::syncFolder(names.folder);
}

void removeQuietly(const QString& path)
{
    try {
        FileOps::remove(path);
    } catch (const AppError&) {
        // The caller's error is the one to report.
    }
}

// Folds the taken file's lines onto `queue`; the queue changes only once the fold committed.
// The saved-queue file gets the folded queue without its first `printedFront` lines.
void fold(const FileNames& names, bool utf8, QStringList& queue, qsizetype printedFront)
{
    const QStringList lines = QueueFile::parse(FileOps::read(names.taken), utf8);
    if (lines.isEmpty()) {
        FileOps::remove(names.taken);
        return;
    }
    const QStringList folded = queue + lines;
    FileOps::createNew(names.fold, QueueFile::serialize(folded.mid(printedFront), utf8));
    try {
        FileOps::syncFolder(names.folder);
        FileOps::remove(names.taken);
    } catch (const AppError&) {
        removeQuietly(names.fold);
        throw;
    }
    queue = folded;
    FileOps::syncFolder(names.bufferFolder);
    FileOps::rename(names.fold, names.saved);
    FileOps::syncFolder(names.folder);
}

QString queueBusy(const QString& folder)
{
    return QStringLiteral("Kolejką naklejek w folderze %1 zajmuje się inny proces (program "
                          "uruchomiony przez innego użytkownika albo wydruk kolejki z wiersza "
                          "poleceń). Naklejki z tego folderu będą przyjmowane, gdy się zwolni.")
        .arg(folder);
}

} // namespace

bool QueueStore::lock(const QueueLocation& location)
{
    return m_lock.tryLock(FileNames(location).lock, 0644);
}

void QueueStore::ensureLocked(const FileNames& names)
{
    if (!QFileInfo(names.folder).isDir())
        throw AppError(QStringLiteral("Folder bufora naklejek %1 nie istnieje.").arg(names.folder));
    if (m_lock.tryLock(names.lock, 0644))
        return;
    m_savedQueueUnread = true;
    throw AppError(queueBusy(names.folder));
}

QStringList QueueStore::restore(const QueueLocation& location)
{
    const FileNames names(location);
    ensureLocked(names);
    settleFold(names);
    FileOps::remove(names.temp);
    return readSavedQueue(names, location.utf8);
}

bool QueueStore::hasWaitingFiles(const QueueLocation& location)
{
    return FileOps::exists(location.buffer) || FileOps::exists(takenName(location.buffer));
}

void QueueStore::take(const QueueLocation& location, QStringList& queue, qsizetype printedFront)
{
    takeFiles(FileNames(location), location.utf8, queue, printedFront);
}

void QueueStore::save(const QueueLocation& location, QStringList& queue)
{
    const FileNames names(location);
    ensureLocked(names);
    try {
        readUnreadSavedQueue(names, location.utf8, queue);
    } catch (const AppError&) {
        // Taking waits for that file to be read, so while it stays unreadable it normally
        // holds every line there is, and writing an empty queue over it would lose them.
        if (queue.isEmpty())
            return;
        throw;
    }
    prepareSave(location, queue);
    commitSave(location);
}

void QueueStore::prepareSave(const QueueLocation& location, const QStringList& lines)
{
    const FileNames names(location);
    ensureLocked(names);
    if (m_savedQueueUnread)
        throw AppError(QStringLiteral("Nie odczytano jeszcze pliku %1.").arg(names.saved));
    settleFold(names);
    FileOps::createNew(names.temp, QueueFile::serialize(lines, location.utf8));
}

void QueueStore::commitSave(const QueueLocation& location)
{
    const FileNames names(location);
    FileOps::rename(names.temp, names.saved);
    FileOps::syncFolder(names.folder);
}

void QueueStore::discardSave(const QueueLocation& location)
{
    removeQuietly(FileNames(location).temp); // a stale one goes before the next save anyway
}

void QueueStore::takeFiles(const FileNames& names, bool utf8, QStringList& queue,
                           qsizetype printedFront)
{
    ensureLocked(names);
    readUnreadSavedQueue(names, utf8, queue);
    settleFold(names);
    if (FileOps::exists(names.taken))
        fold(names, utf8, queue, printedFront);
    if (FileOps::exists(names.buffer) && FileOps::renameWhenUnlocked(names.buffer, names.taken))
        fold(names, utf8, queue, printedFront);
}

void QueueStore::readUnreadSavedQueue(const FileNames& names, bool utf8, QStringList& queue)
{
    if (m_savedQueueUnread)
        queue = readSavedQueue(names, utf8) + queue;
}

QStringList QueueStore::readSavedQueue(const FileNames& names, bool utf8)
{
    m_savedQueueUnread = FileOps::exists(names.saved);
    if (!m_savedQueueUnread)
        return {};
    QStringList lines;
    try {
        lines = QueueFile::parse(FileOps::read(names.saved), utf8);
    } catch (const AppError& error) {
        throw AppError(error.text() +
                       QStringLiteral(" Kolejka naklejek nie będzie zapisywana, dopóki tego pliku "
                                      "nie da się odczytać."));
    }
    m_savedQueueUnread = false;
    return lines;
}
