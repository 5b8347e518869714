#include "labels/queuestore.h"

#include "labels/labelline.h"
#include "labels/queuefile.h"
#include "platform/apperror.h"
#include "platform/fileops.h"
#include "platform/replacefile.h"

#include <functional>
#include <optional>
#include <QFileInfo>
#include <QRegularExpression>

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
        , marker(saved + QStringLiteral(".dopisek"))
        , temp(saved + QStringLiteral(".tmp"))
        , lock(saved + QStringLiteral(".lock"))
        , folder(QFileInfo(saved).path())
        , buffer(location.buffer)
        , taken(takenName(buffer))
        , bufferFolder(QFileInfo(buffer).path())
        , companion(location.companion)
        , companionTemp(companion + QStringLiteral(".zelk.nal.tmp"))
    {
    }

    QString saved;
    QString fold;
    QString setAside;
    QString setAsideFold;
    QString marker;
    QString temp;
    QString lock;
    QString folder;
    QString buffer;
    QString taken;
    QString bufferFolder;
    QString companion;
    QString companionTemp;
};

namespace {

using FileNames = QueueStore::FileNames;
using QueueFile::Encoding;

bool isRegularFile(const QString& path)
{
    return QFileInfo(path).isFile() && !QFileInfo(path).isSymLink();
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

// The sizes of the saved-queue file and the set-aside file before an append, as its marker
// file records them: "<saved> <set-aside>\n".
struct Sizes {
    qint64 saved = 0;
    qint64 setAside = 0;
};

QByteArray markerText(const Sizes& sizes)
{
    return QByteArray::number(sizes.saved) + ' ' + QByteArray::number(sizes.setAside) + '\n';
}

// Empty for a marker cut short by a crash while it was written.
std::optional<Sizes> parseMarker(const QByteArray& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,18}) (\\d{1,18})\n\\z"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(text));
    if (!match.hasMatch())
        return {};
    return Sizes{match.captured(1).toLongLong(), match.captured(2).toLongLong()};
}

// Brings an append cut short to its end. Beside its taken file it never committed, and both
// files go back to the sizes its marker recorded; a marker cut short was being written before
// anything was appended. Without its taken file it committed. Anything but a regular file under
// the marker's name is no marker of this program's and goes unread.
void settleAppend(const FileNames& names)
{
    if (!FileOps::exists(names.marker))
        return;
    if (FileOps::exists(names.taken) && isRegularFile(names.marker)) {
        if (const std::optional<Sizes> before = parseMarker(FileOps::read(names.marker))) {
            FileOps::truncate(names.saved, before->saved);
            FileOps::truncate(names.setAside, before->setAside);
        }
    }
    FileOps::remove(names.marker);
    FileOps::syncFolder(names.folder);
}

void settle(const FileNames& names)
{
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

// Appends `bytes` to a text file of `size` bytes. A file whose last line has no end, edited by
// hand, gets one first, so that no two lines join.
void appendLines(const QString& path, qint64 size, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    const bool lastLineEnded = size == 0 || FileOps::read(path, size - 1) == "\n";
    FileOps::append(path, lastLineEnded ? bytes : "\r\n" + bytes);
}

// Takes back an append that failed before its commit. What cannot be taken back now stays
// marked and is settled before the next operation.
void undoAppend(const FileNames& names, const Sizes& before)
{
    FileOps::truncate(names.saved, before.saved);
    FileOps::truncate(names.setAside, before.setAside);
    FileOps::remove(names.marker);
}

// Appends `queued` to the saved-queue file and `setAside` to the set-aside file, and commits
// them by removing the taken file. The marker, on the disk before the first appended byte,
// records the sizes that settling cuts the files back to while the taken file stands.
void appendAndCommit(const FileNames& names, const QByteArray& queued, const QByteArray& setAside)
{
    const Sizes before{FileOps::size(names.saved), FileOps::size(names.setAside)};
    try {
        FileOps::createNew(names.marker, markerText(before));
        FileOps::syncFolder(names.folder);
        appendLines(names.saved, before.saved, queued);
        appendLines(names.setAside, before.setAside, setAside);
        FileOps::syncFolder(names.folder);
        FileOps::remove(names.taken);
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

QByteArray serialize(const QList<SetAsideLine>& lines, bool utf8)
{
    QStringList texts;
    for (const SetAsideLine& line : lines)
        texts << line.line;
    return QueueFile::serialize(texts, utf8);
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
    settle(names);
    settleCompanion(names);
}

// A companion written beside the queue's temporary file belongs to a save that never
// committed; alone, to one that did, and it takes its place.
void QueueStore::settleCompanion(const FileNames& names)
{
    m_companionInPlace.reset();
    if (names.companion.isEmpty() || !FileOps::exists(names.companionTemp))
        return;
    if (!FileOps::exists(names.temp) && isRegularFile(names.companionTemp))
        FileOps::rename(names.companionTemp, names.companion);
    else
        FileOps::remove(names.companionTemp);
    FileOps::syncFolder(QFileInfo(names.companion).path());
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

void QueueStore::prepareSave(const QueueLocation& location, const QStringList& lines,
                             const std::optional<QByteArray>& companion)
{
    const FileNames names(location);
    lockAndSettle(names);
    if (m_savedQueueUnread)
        throw AppError(QStringLiteral("Nie odczytano jeszcze pliku %1.").arg(names.saved));
    FileOps::createNew(names.temp, QueueFile::serialize(lines, location.utf8));
    if (!companion || names.companion.isEmpty())
        return;
    try {
        FileOps::createNew(names.companionTemp, *companion);
    } catch (const AppError&) {
        m_companionInPlace = companion;
    }
}

void QueueStore::commitSave(const QueueLocation& location)
{
    putSaveInPlace(FileNames(location), location.utf8);
}

// An append cut short since the save was prepared is settled first: its marker's sizes are
// those of the file the save replaces.
void QueueStore::putSaveInPlace(const FileNames& names, bool utf8)
{
    settle(names);
    FileOps::rename(names.temp, names.saved);
    FileOps::syncFolder(names.folder);
    m_savedEncoding = settingEncoding(utf8);
    if (!names.companion.isEmpty() && FileOps::exists(names.companionTemp)) {
        FileOps::rename(names.companionTemp, names.companion);
        FileOps::syncFolder(QFileInfo(names.companion).path());
    } else if (const std::optional<QByteArray> inPlace = std::exchange(m_companionInPlace, {})) {
        if (!replaceFile(names.companion, *inPlace))
            throw AppError(QStringLiteral("Unable to write to %1").arg(names.companion));
    }
}

void QueueStore::discardSave(const QueueLocation& location)
{
    // The companion first: alone it would count as committed. A stale one goes before the next
    // save anyway.
    const FileNames names(location);
    m_companionInPlace.reset();
    if (!names.companion.isEmpty())
        quietly([&] { FileOps::remove(names.companionTemp); });
    quietly([&] { FileOps::remove(names.temp); });
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

// Folds the taken file's printable lines onto `queue` and adds the others to the set-aside
// file, in one step whose commit point is the removal of the taken file; the queue changes only
// once it committed. The saved-queue file, which holds `queue` without its first `printedFront`
// lines, gets the new lines appended in the setting's encoding; when the file's own encoding
// would garble them, it is written again in the setting's first. Returns the lines set aside.
QList<SetAsideLine> QueueStore::fold(const FileNames& names, bool utf8, QStringList& queue,
                                     qsizetype printedFront)
{
    QList<SetAsideLine> setAside;
    const QStringList lines = sortOut(QueueFile::parse(FileOps::read(names.taken), utf8), setAside);
    const QByteArray queued = QueueFile::serialize(lines, utf8);
    const Encoding encoding =
        QueueFile::encodingOf(queued) == Encoding::Ascii ? Encoding::Ascii : settingEncoding(utf8);
    if (!readTogether(m_savedEncoding, encoding)) {
        FileOps::createNew(names.temp, QueueFile::serialize(queue.mid(printedFront), utf8));
        putSaveInPlace(names, utf8);
    }
    appendAndCommit(names, queued, serialize(setAside, utf8));
    queue += lines;
    if (encoding != Encoding::Ascii)
        m_savedEncoding = encoding;
    finishAppend(names);
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
    m_savedEncoding = Encoding::Ascii;
    if (!m_savedQueueUnread)
        return {};
    QStringList lines;
    try {
        const QByteArray bytes = FileOps::read(names.saved);
        m_savedEncoding = QueueFile::encodingOf(bytes);
        lines = QueueFile::parseByContent(bytes);
    } catch (const AppError& error) {
        throw AppError(error.text() +
                       QStringLiteral(" Kolejka naklejek nie będzie zapisywana, dopóki tego pliku "
                                      "nie da się odczytać."));
    }
    m_savedQueueUnread = false;
    return lines;
}
