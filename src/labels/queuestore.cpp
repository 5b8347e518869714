#include "labels/queuestore.h"

#include "labels/labelline.h"
#include "labels/queuefile.h"
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
        , setAside(saved + QStringLiteral(".odrzucone"))
        , setAsideFold(setAside + QStringLiteral(".fold"))
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
    QString setAside;
    QString setAsideFold;
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

// Brings a fold cut short to its end: without its taken file it committed, and its new
// saved-queue file and set-aside file take their places; beside its taken file it never
// committed and they go. Anything but a regular file under a fold's name is no fold of this
// program's and goes too.
void settleFold(const FileNames& names)
{
    const bool committed = !FileOps::exists(names.taken);
    bool settled = false;
    for (const auto& [fold, target] :
         {std::pair{names.fold, names.saved}, std::pair{names.setAsideFold, names.setAside}}) {
        if (!FileOps::exists(fold))
            continue;
        if (committed && isRegularFile(fold))
            FileOps::rename(fold, target);
        else
            FileOps::remove(fold);
        settled = true;
    }
    if (settled)
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

// The lines that can print, and the others with the reason each can never print.
QStringList sortOut(const QStringList& lines, QList<SetAsideLine>& setAside)
{
    QStringList printable;
    for (const QString& line : lines) {
        if (const QString reason = whyUnprintable(line); reason.isEmpty())
            printable << line;
        else
            setAside << SetAsideLine{line, reason};
    }
    return printable;
}

// The set-aside file with `lines` appended, as a new file beside it.
void writeSetAsideFold(const FileNames& names, const QList<SetAsideLine>& lines, bool utf8)
{
    QByteArray bytes =
        FileOps::exists(names.setAside) ? FileOps::read(names.setAside) : QByteArray();
    QStringList texts;
    for (const SetAsideLine& line : lines)
        texts << line.line;
    bytes += QueueFile::serialize(texts, utf8);
    FileOps::createNew(names.setAsideFold, bytes);
}

// Folds the taken file's printable lines onto `queue` and adds the others to the set-aside
// file, in one step whose commit point is the removal of the taken file; the queue changes
// only once it committed. The saved-queue file gets the folded queue without its first
// `printedFront` lines. Returns the lines set aside.
QList<SetAsideLine> fold(const FileNames& names, bool utf8, QStringList& queue,
                         qsizetype printedFront)
{
    QList<SetAsideLine> setAside;
    const QStringList lines = sortOut(QueueFile::parse(FileOps::read(names.taken), utf8), setAside);
    const QStringList folded = queue + lines;
    try {
        if (!lines.isEmpty())
            FileOps::createNew(names.fold, QueueFile::serialize(folded.mid(printedFront), utf8));
        if (!setAside.isEmpty())
            writeSetAsideFold(names, setAside, utf8);
        FileOps::syncFolder(names.folder);
        FileOps::remove(names.taken);
    } catch (const AppError&) {
        removeQuietly(names.fold);
        removeQuietly(names.setAsideFold);
        throw;
    }
    queue = folded;
    FileOps::syncFolder(names.bufferFolder);
    settleFold(names);
    return setAside;
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

void QueueStore::lockAndSettle(const FileNames& names)
{
    if (!QFileInfo(names.folder).isDir())
        throw AppError(QStringLiteral("Folder bufora naklejek %1 nie istnieje.").arg(names.folder));
    if (!m_lock.tryLock(names.lock, 0644)) {
        m_savedQueueUnread = true;
        throw AppError(queueBusy(names.folder));
    }
    settleFold(names);
}

QStringList QueueStore::restore(const QueueLocation& location)
{
    const FileNames names(location);
    lockAndSettle(names);
    return readSavedQueue(names);
}

bool QueueStore::hasWaitingFiles(const QueueLocation& location)
{
    return FileOps::exists(location.buffer) || FileOps::exists(takenName(location.buffer));
}

QList<SetAsideLine> QueueStore::take(const QueueLocation& location, QStringList& queue,
                                     qsizetype printedFront)
{
    return takeFiles(FileNames(location), location.utf8, queue, printedFront);
}

void QueueStore::save(const QueueLocation& location, QStringList& queue)
{
    const FileNames names(location);
    lockAndSettle(names);
    try {
        readUnreadSavedQueue(names, queue);
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
    lockAndSettle(names);
    if (m_savedQueueUnread)
        throw AppError(QStringLiteral("Nie odczytano jeszcze pliku %1.").arg(names.saved));
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

QList<SetAsideLine> QueueStore::takeFiles(const FileNames& names, bool utf8, QStringList& queue,
                                          qsizetype printedFront)
{
    lockAndSettle(names);
    readUnreadSavedQueue(names, queue);
    QList<SetAsideLine> setAside;
    if (FileOps::exists(names.taken))
        setAside += fold(names, utf8, queue, printedFront);
    if (FileOps::exists(names.buffer) && FileOps::renameWhenUnlocked(names.buffer, names.taken))
        setAside += fold(names, utf8, queue, printedFront);
    return setAside;
}

void QueueStore::readUnreadSavedQueue(const FileNames& names, QStringList& queue)
{
    if (m_savedQueueUnread)
        queue = readSavedQueue(names) + queue;
}

// A save of this process cannot be under way before the saved queue has been read, so a
// temporary file found then is one a crash cut short.
QStringList QueueStore::readSavedQueue(const FileNames& names)
{
    FileOps::remove(names.temp);
    m_savedQueueUnread = FileOps::exists(names.saved);
    if (!m_savedQueueUnread)
        return {};
    QStringList lines;
    try {
        lines = QueueFile::parseByContent(FileOps::read(names.saved));
    } catch (const AppError& error) {
        throw AppError(error.text() +
                       QStringLiteral(" Kolejka naklejek nie będzie zapisywana, dopóki tego pliku "
                                      "nie da się odczytać."));
    }
    m_savedQueueUnread = false;
    return lines;
}
