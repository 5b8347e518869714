#include "labels/queuestore.h"

#include "labels/labelline.h"
#include "labels/queuefile.h"
#include "labels/queuefilenames.h"
#include "platform/apperror.h"
#include "platform/files/fileops.h"
#include "platform/files/ownfile.h"

#include <functional>
#include <optional>
#include <QFileInfo>
#include <QRegularExpression>
#include <unistd.h>

namespace {

using FileNames = QueueStore::FileNames;
using QueueFile::Encoding;
using Standing = OwnFile::Standing;

bool isRegularFile(const QString& path)
{
    return QFileInfo(path).isFile() && !QFileInfo(path).isSymLink();
}

// A file under one of the program's own names that another account wrote, or could have, is
// neither read nor changed nor removed: it may be the state of that account's copy of the
// program, which settles it itself, or a forgery.
void refuseForeign(const QString& path)
{
    if (OwnFile::of(path) == Standing::Foreign)
        throw AppError(OwnFile::notUsed(path));
}

// Brings a fold of an earlier version of this program to its end; such a fold wrote whole new
// files, and this version no longer makes them, but a crash may have left one. Without its
// taken file it committed, and its new saved-queue file and set-aside file take their places;
// beside its taken file it never committed and they go. Anything but a regular file under a
// fold's name is no fold of this program's and goes too.
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

// The sizes of the saved-queue file and the set-aside file before an append, and the identity of
// the taken file being appended, as its marker file records them:
// "<saved> <set-aside> <taken>\n". An earlier version's marker names no taken file.
struct Sizes {
    qint64 saved = 0;
    qint64 setAside = 0;
    QString taken{};
};

QByteArray markerText(const Sizes& sizes)
{
    return QByteArray::number(sizes.saved) + ' ' + QByteArray::number(sizes.setAside) + ' ' +
           sizes.taken.toLatin1() + '\n';
}

// Empty for a marker cut short by a crash while it was written.
std::optional<Sizes> parseMarker(const QByteArray& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,18}) (\\d{1,18})(?: (\\d{1,20}:\\d{1,20}))?\n\\z"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(text));
    if (!match.hasMatch())
        return {};
    return Sizes{match.captured(1).toLongLong(), match.captured(2).toLongLong(), match.captured(3)};
}

// Whether the marker was written for the taken file that stands now. The host system's account
// writes the buffer, so the taken file is rightly another account's, and one may appear under
// the name after a fold committed: only the file the marker names undoes the fold.
bool markedFor(const Sizes& marker, const QString& taken)
{
    return marker.taken.isEmpty() || marker.taken == FileOps::identity(taken);
}

// Cuts the set-aside file back unless it is no longer the program's own.
void truncateSetAside(const FileNames& names, qint64 size)
{
    if (OwnFile::of(names.setAside) == Standing::Own)
        FileOps::truncate(names.setAside, size);
}

// Brings an append cut short to its end. Beside the taken file it was written for it never
// committed, and both files go back to the sizes its marker recorded; a marker cut short was
// being written before anything was appended. Otherwise it committed. Anything but a regular
// file under the marker's name is no marker of this program's and goes unread.
void settleAppend(const FileNames& names)
{
    if (!FileOps::exists(names.marker))
        return;
    if (FileOps::exists(names.taken) && isRegularFile(names.marker)) {
        const std::optional<Sizes> before = parseMarker(FileOps::read(names.marker));
        if (before && markedFor(*before, names.taken)) {
            FileOps::truncate(names.saved, before->saved);
            truncateSetAside(names, before->setAside);
        }
    }
    FileOps::remove(names.marker);
    FileOps::syncFolder(names.folder);
}

// The files that a fold or a print run cut short leaves; until each is the program's own, nothing
// of the queue can be settled.
void settle(const FileNames& names)
{
    for (const QString& path : {names.marker, names.fold, names.setAsideFold, names.journal})
        refuseForeign(path);
    settleFold(names);
    settleAppend(names);
}

// For a step that cleans up after a failure: the failure's error is the one to report.
void quietly(const std::function<void()>& step)
{
    try {
        step();
    } catch (const AppError&) {
    }
}

// Appends `bytes` to a text file of `size` bytes and returns what it appended. A file whose last
// line has no end, edited by hand, gets one first, so that no two lines join.
QByteArray appendLines(const QString& path, qint64 size, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    const QByteArray last = size == 0 ? QByteArray() : FileOps::read(path, size - 1);
    const QByteArray appended =
        last.isEmpty() || last == "\n" || last == "\r" ? bytes : "\r\n" + bytes;
    FileOps::append(path, appended);
    return appended;
}

// Takes back an append that failed before its commit. What cannot be taken back now stays
// marked and is settled before the next operation.
void undoAppend(const FileNames& names, const Sizes& before)
{
    FileOps::truncate(names.saved, before.saved);
    truncateSetAside(names, before.setAside);
    FileOps::remove(names.marker);
}

// Appends the lines set aside to their file; the printable lines fold whatever becomes of them.
// Returns why they could not be appended (the file is a link or a FIFO, the disk is full), after
// cutting back what was appended of them.
QString appendSetAside(const QString& path, qint64 size, const QByteArray& bytes)
{
    if (!bytes.isEmpty() && OwnFile::of(path) == Standing::Foreign)
        return OwnFile::notUsed(path);
    try {
        appendLines(path, size, bytes);
        return {};
    } catch (const AppError& error) {
        quietly([&] { FileOps::truncate(path, size); });
        return error.text();
    }
}

// Appends `queued` to the saved-queue file and `setAside` to the set-aside file, and commits
// them by removing the taken file; returns the bytes appended to the saved-queue file. The
// marker, on the disk before the first appended byte, records the sizes that settling cuts the
// files back to while the taken file stands.
QByteArray appendAndCommit(const FileNames& names, const QByteArray& queued,
                           const QByteArray& setAside, QString& setAsideFailure)
{
    const Sizes before{FileOps::size(names.saved), FileOps::size(names.setAside),
                       FileOps::identity(names.taken)};
    try {
        FileOps::createNew(names.marker, markerText(before));
        FileOps::syncFolder(names.folder);
        QByteArray appended = appendLines(names.saved, before.saved, queued);
        setAsideFailure = appendSetAside(names.setAside, before.setAside, setAside);
        FileOps::syncFolder(names.folder);
        FileOps::remove(names.taken);
        return appended;
    } catch (const AppError&) {
        quietly([&] { undoAppend(names, before); });
        throw;
    }
}

// After the commit: the taken file's removal reaches the disk before the marker goes, and the
// marker's removal before a new taken file can appear, so no marker ever stands beside a taken
// file it was not written for.
void finishAppend(const FileNames& names)
{
    FileOps::syncFolder(names.bufferFolder);
    FileOps::remove(names.marker);
    FileOps::syncFolder(names.folder);
}

// A file's lines sorted out: those that can print, decoded, and the others with the reason each
// can never print, also as the bytes they came in, each ended by CR LF.
struct SortedLines {
    QStringList printable;
    QList<SetAsideLine> setAside;
    QByteArray setAsideBytes;
};

SortedLines sortOut(QByteArrayView bytes, Encoding encoding)
{
    SortedLines sorted;
    QueueFile::forEachLine(bytes, [&](QByteArrayView line, qsizetype) {
        const QString reason = whyUnprintable(line, encoding);
        if (reason.isEmpty()) {
            sorted.printable << QueueFile::decode(line, encoding);
            return;
        }
        sorted.setAside << SetAsideLine{QueueFile::decode(line, encoding), reason};
        sorted.setAsideBytes.append(line).append("\r\n");
    });
    return sorted;
}

Encoding settingEncoding(bool utf8)
{
    return utf8 ? Encoding::Utf8 : Encoding::Ansi;
}

// Whether bytes in `added` read right after bytes in `existing`, the whole read by its content.
bool readTogether(Encoding existing, Encoding added)
{
    return existing == Encoding::Ascii || added == Encoding::Ascii || existing == added;
}

// A lock file of another account may be held by a process of that account that should not be
// running, or by one that holds it for ever: the report names the account.
QString queueBusy(const FileNames& names)
{
    QString text = QStringLiteral("Kolejką naklejek w folderze %1 zajmuje się inny proces "
                                  "(program uruchomiony przez innego użytkownika albo wydruk "
                                  "kolejki z wiersza poleceń). Naklejki z tego folderu będą "
                                  "przyjmowane, gdy się zwolni.")
                       .arg(names.folder);
    if (const QFileInfo lock(names.lock); lock.exists() && lock.ownerId() != ::geteuid())
        text += QStringLiteral(" Plik blokady %1 należy do użytkownika %2: jeśli żaden program "
                               "tego użytkownika nie powinien teraz działać, niech ten użytkownik "
                               "go zamknie albo administrator usunie plik blokady.")
                    .arg(names.lock, OwnFile::accountName(lock.ownerId()));
    return text;
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
        throw AppError(queueBusy(names));
    }
    settle(names);
}

QList<SetAsideLine> QueueStore::restore(const QueueLocation& location, QueuedLines& queue)
{
    const FileNames names(location);
    lockAndSettle(names);
    queue = readSavedQueue(names, location.places);
    raiseJournalFaults();
    if (m_journal)
        compact(names, location.settings, queue, Rewrite::WhenDue);
    return std::exchange(m_savedSetAside, {});
}

bool QueueStore::hasWaitingFiles(const QueueLocation& location)
{
    return FileOps::exists(location.buffer) ||
           FileOps::exists(FileNames::takenName(location.buffer));
}

QList<SetAsideLine> QueueStore::take(const QueueLocation& location, QueuedLines& queue)
{
    const FileNames names(location);
    lockAndSettle(names);
    readUnreadSavedQueue(names, location.places, queue);
    QList<SetAsideLine> setAside = std::exchange(m_savedSetAside, {});
    removeStranger(names.taken);
    if (FileOps::exists(names.taken))
        setAside += fold(names, location, queue);
    if (!FileOps::exists(names.taken) && FileOps::exists(names.buffer) &&
        FileOps::renameWhenUnlocked(names.buffer, names.taken))
        setAside += fold(names, location, queue);
    return setAside;
}

void QueueStore::save(const QueueLocation& location, QueuedLines& queue)
{
    mirror(location, queue, Rewrite::WhenDue);
}

void QueueStore::saveAtClose(const QueueLocation& location, QueuedLines& queue)
{
    mirror(location, queue, Rewrite::Always);
    const FileNames names(location);
    if (!m_journal && !FileOps::exists(names.saved))
        writeWhole(names, queue);
}

void QueueStore::mirror(const QueueLocation& location, QueuedLines& queue, Rewrite rewrite)
{
    const FileNames names(location);
    lockAndSettle(names);
    try {
        readUnreadSavedQueue(names, location.places, queue);
    } catch (const AppError&) {
        // Taking waits for that file to be read, so while it stays unreadable it normally
        // holds every line there is, and writing an empty queue over it would lose them.
        if (m_savedQueueUnread && queue.isEmpty())
            return;
        throw;
    }
    if (m_journal)
        compact(names, location.settings, queue, rewrite);
    else if (!inSync(names, queue))
        writeWhole(names, queue);
}

// Whether the saved-queue file holds `queue` from the queue's base on.
bool QueueStore::inSync(const FileNames& names, const QueuedLines& queue) const
{
    return queue.version() == m_syncedVersion &&
           FileOps::size(names.saved) == queue.base() + queue.bytes().size();
}

// Once the new file has its name, the queue's offsets are those of the new file, whether or not
// the folder can be flushed after it.
void QueueStore::writeWhole(const FileNames& names, QueuedLines& queue)
{
    refuseForeign(names.temp);
    FileOps::createNew(names.temp, queue.bytes());
    FileOps::rename(names.temp, names.saved);
    queue.rebase();
    m_syncedVersion = queue.version();
    FileOps::syncFolder(names.folder);
}

// Anything but a regular file under a name of the program's own (a link a neighbour planted, a
// FIFO) would stop taking for good: it goes, and the report says so once. Removing a link never
// follows it.
void QueueStore::removeStranger(const QString& path)
{
    if (!FileOps::exists(path) || isRegularFile(path))
        return;
    FileOps::remove(path);
    throw AppError(QStringLiteral("Pod nazwą %1 był plik innego rodzaju niż zwykły (dowiązanie "
                                  "albo kolejka FIFO); usunięto go.")
                       .arg(path));
}

// Whether lines in the encoding `added` can be appended to the saved-queue file as it stands:
// it holds `queue`, and the whole still reads by its content.
bool QueueStore::foldsInPlace(const FileNames& names, Encoding added,
                              const QueuedLines& queue) const
{
    return inSync(names, queue) && readTogether(queue.encoding(), added);
}

// Folds the taken file's printable lines onto `queue` and adds the others to the set-aside
// file, in one step whose commit point is the removal of the taken file; the queue changes only
// once it committed. The saved-queue file gets the new lines appended in the setting's
// encoding; when it does not hold `queue`, or its own encoding would garble them, it is written
// anew first, after the printed front of a print journal; while a journal holds sheets of a run
// not compacted yet, that waits, and so does the taken file. Returns the lines set aside.
QList<SetAsideLine> QueueStore::fold(const FileNames& names, const QueueLocation& location,
                                     QueuedLines& queue)
{
    const bool utf8 = location.utf8;
    const SortedLines lines = sortOut(FileOps::read(names.taken), settingEncoding(utf8));
    const QByteArray queued = QueueFile::serialize(lines.printable, utf8);
    const Encoding encoding =
        QueueFile::encodingOf(queued) == Encoding::Ascii ? Encoding::Ascii : settingEncoding(utf8);
    if (!foldsInPlace(names, encoding, queue)) {
        if (holdsUnkeptSheets())
            return {};
        if (m_journal)
            compact(names, location.settings, queue, Rewrite::Always);
        if (!readTogether(queue.encoding(), encoding))
            queue = queue.rewritten(utf8);
        writeWhole(names, queue);
    }
    const QByteArray setAside = m_waitingSetAside + lines.setAsideBytes;
    QString setAsideFailure;
    queue.appendBytes(appendAndCommit(names, queued, setAside, setAsideFailure), encoding);
    m_syncedVersion = queue.version();
    finishAppend(names);
    m_waitingSetAside = setAsideFailure.isEmpty() ? QByteArray() : setAside;
    if (!setAsideFailure.isEmpty())
        throw AppError(setAsideFailure +
                       QStringLiteral(" Wiersze, których nie da się wydrukować, czekają, aż ten "
                                      "plik będzie można zapisać; pozostałe wiersze przyjęto."));
    return lines.setAside;
}

void QueueStore::readUnreadSavedQueue(const FileNames& names, int places, QueuedLines& queue)
{
    if (!m_savedQueueUnread)
        return;
    QueuedLines saved = readSavedQueue(names, places);
    if (!queue.isEmpty())
        saved += QStringList(queue);
    queue = std::move(saved);
    raiseJournalFaults();
}

// A save of this process cannot be under way before the saved queue has been read, so a
// temporary file found then is one a crash cut short (unless another account's, which stays as
// it is). The print journal is settled against the lines, and those printed already stay out of
// the queue. The file counts as read once all of that is done.
QueuedLines QueueStore::readSavedQueue(const FileNames& names, int places)
{
    if (OwnFile::of(names.temp) != Standing::Foreign)
        FileOps::remove(names.temp);
    m_savedQueueUnread = true;
    QByteArray bytes;
    try {
        if (FileOps::exists(names.saved))
            bytes =
                FileOps::read(names.saved, 0, QueuedLines::roomToGrow(FileOps::size(names.saved)));
    } catch (const AppError& error) {
        throw AppError(error.text() +
                       QStringLiteral(" Kolejka naklejek nie będzie zapisywana, dopóki tego pliku "
                                      "nie da się odczytać."));
    }
    QueuedLines lines = QueuedLines::fromFile(std::move(bytes));
    readJournal(names, lines, places);
    m_syncedVersion = lines.version();
    dropPrinted(lines);
    if (!m_journal)
        m_savedSetAside += setAsideUnprintable(names, lines);
    m_savedQueueUnread = false;
    return lines;
}

// Records of the journal that failed their check were reported by none yet.
void QueueStore::raiseJournalFaults()
{
    if (!m_journalFaults.isEmpty())
        throw AppError(std::exchange(m_journalFaults, {}));
}

// A saved queue carried over from elsewhere may hold lines that can never print: they go to the
// set-aside file, and the saved-queue file is written again without them. A crash in between
// leaves them in both, and the next start sets them aside once more.
QList<SetAsideLine> QueueStore::setAsideUnprintable(const FileNames& names, QueuedLines& queue)
{
    QList<qsizetype> unprintable;
    QList<SetAsideLine> setAside;
    for (qsizetype i = 0; i < queue.size(); ++i) {
        if (QString why = whyUnprintable(queue.rawAt(i), queue.encoding()); !why.isEmpty()) {
            unprintable << i;
            setAside << SetAsideLine{queue.at(i), std::move(why)};
        }
    }
    if (unprintable.isEmpty())
        return {};
    QByteArray kept;
    QByteArray setAsideBytes;
    for (qsizetype i = 0, next = 0; i < queue.size(); ++i) {
        const QByteArray line = queue.rawAt(i).toByteArray().append("\r\n");
        const bool setAsideHere = next < unprintable.size() && unprintable[next] == i;
        next += setAsideHere;
        (setAsideHere ? setAsideBytes : kept) += line;
    }
    refuseForeign(names.setAside);
    appendLines(names.setAside, FileOps::size(names.setAside), setAsideBytes);
    queue = QueuedLines::fromFile(kept);
    writeWhole(names, queue);
    return setAside;
}

// The set-aside file gets the lines first, the saved-queue file loses them then. A crash between
// the two leaves these very lines at the set-aside file's end, and the next attempt, meeting the
// same lines in the queue, does not add them a second time.
bool QueueStore::setAside(const QueueLocation& location, QueuedLines& queue,
                          const QList<qsizetype>& indexes)
{
    const FileNames names(location);
    lockAndSettle(names);
    if (holdsUnkeptSheets())
        return false;
    if (m_journal)
        compact(names, location.settings, queue, Rewrite::Always);
    refuseForeign(names.setAside);
    QByteArray bytes;
    for (qsizetype index : indexes)
        bytes += queue.rawAt(index).toByteArray().append("\r\n");
    const qint64 size = FileOps::size(names.setAside);
    if (size < bytes.size() || FileOps::read(names.setAside, size - bytes.size()) != bytes)
        appendLines(names.setAside, size, bytes);
    QStringList kept = queue;
    for (auto index = indexes.rbegin(); index != indexes.rend(); ++index)
        kept.removeAt(*index);
    queue = QueuedLines(kept).rewritten(location.utf8);
    writeWhole(names, queue);
    return true;
}
