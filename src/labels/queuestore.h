#pragma once

#include "labels/printjournal.h"
#include "labels/queuedlines.h"
#include "platform/files/filelock.h"
#include "platform/printing/printerbackend.h"

#include <functional>
#include <optional>
#include <QString>
#include <QStringList>
#include <utility>

// Where the label queue's files lie and how their text is encoded.
struct QueueLocation {
    QString folder; // the buffer folder; the saved-queue file "zelk.nal" lies here
    QString buffer; // the buffer file the host system appends to
    bool utf8 = true;
    // The settings file, which keeps the first free place of the sheet in the printer; empty:
    // none.
    QString settings;
    // The places of a sheet in the printer, which the print journal's records must lie on; 0:
    // not known.
    int places = 0;
};

// A line that can never print, set aside when it came, and why.
struct SetAsideLine {
    QString line;
    QString reason;
};

// Everything that touches the buffer file and the saved-queue file. The saved-queue file
// mirrors the queue after every change, so a crash, a kill or a power cut loses no label, and
// no label is queued twice:
//
// - One process at a time works on a folder's queue: every operation first takes (or keeps) an
//   flock on "zelk.nal.lock" in the buffer folder, whatever the user or environment of the
//   processes involved. While another process holds it, every operation raises AppError and
//   touches nothing, and the saved-queue file counts as not read yet.
// - A buffer is taken by renaming it to "<buffer>.taken" while holding its lock; a writer
//   that locks the file, and checks after locking that the name still names the file it
//   opened, then writes into a new buffer. A buffer whose lock a writer holds is left for the
//   next tick.
// - Folding a taken file into the queue appends its lines to "zelk.nal", with one commit
//   point, the removal of the taken file:
//   1. "zelk.nal.dopisek" (the marker) is created, recording the sizes of "zelk.nal" and
//      "zelk.nal.odrzucone" (0 for a missing file) and the identity of the taken file, and
//      flushed with the folder;
//   2. the lines are appended to "zelk.nal" and flushed; if the file's last line has no end,
//      CR LF goes first;
//   3. the folder is flushed and the taken file removed (the commit), its folder flushed;
//   4. the queue gets the lines, and the marker is removed, the folder flushed.
//   A failure before the commit cuts the files back at once and removes the marker; what
//   cannot be cut back then stays marked. Before every operation, and before a prepared save
//   is put in place, an append cut short is settled: a marker beside the taken file it names
//   never committed, and both files are cut back to the recorded sizes; a marker alone, or
//   beside another taken file (the host's account may write one after the commit), committed.
//   Either way the marker goes, as does one cut short itself (it was being written before
//   anything was appended) and, unread, anything but a regular file under its name. A taken
//   file left over is then read like a buffer.
// - The appended lines are in the encoding the setting names. When the saved-queue file is in
//   the other one (as last read by its content, or written) and neither the file nor the lines
//   are plain ASCII, the file is first written again in the setting's encoding, as any other
//   change writes it, so that it stays readable by its content.
// - A line that can never print (see whyUnprintable) does not join the queue: it is appended
//   to "zelk.nal.odrzucone" instead, in the setting's encoding like the buffer it came in, in
//   step 2 under the same marker and commit point.
// - An earlier version folded through whole new files, "zelk.nal.fold" and
//   "zelk.nal.odrzucone.fold", flushed before the commit and renamed into place after it. Such
//   a file left by a crash is still settled first: beside its taken file it is discarded,
//   alone it takes its place.
// - Any other change writes "zelk.nal.tmp", flushes it, renames it over "zelk.nal" and flushes
//   the folder.
// - Printing goes through the print journal "zelk.nal.druk" (see PrintJournal): a sheet's
//   record is flushed before the sheet goes out, and its "accepted" line when the printer has
//   it. A sheet whose record lacks that line is settled by the evidence (the printer backend's
//   settleSheet). After each print run, compaction puts the printed sheets into the history and
//   the first free place after the last of them into the settings file, and marks them kept in
//   the journal. The printed front of the queue stays in "zelk.nal", the journal recording
//   where it stands, until it has passed a quarter of the file, the journal holds as many sheets
//   as the history keeps, or the program closes: then "zelk.nal" is written without the printed
//   lines and the journal removed. So a run from a long queue writes its sheets' records, not
//   the queue. Every reader settles the journal first, so the queue, the settings and the
//   journal never disagree.
// - No file of the folder is read or written through a symbolic link (see FileOps).
// - The program's state files in the folder count only as regular files of this account that
//   no other may write (see OwnFile): anyone else's may be the state of that account's own copy
//   of the program, or a forgery. Such a file is neither read nor changed nor removed, and the
//   report names it and its owner: while a marker, fold file or journal of another stands, every
//   operation raises AppError and touches nothing; a temporary file of another stops a save
//   that writes the file anew, and printing (checkCanRecord) with a history of another; a
//   set-aside file of another keeps the lines set aside waiting, as a link does. The taken file
//   is the host system's and counts whoever wrote it.
// - The print journal's records are checked against the saved-queue file before they are
//   trusted (see JournalCheck); a record that fails keeps its lines queued and is reported.
//
// Every failure raises AppError and changes neither the queue nor the files in a way that
// loses or doubles a line.
class QueueStore {
public:
    // What became of a sheet whose record a kill may have cut short (PrinterBackend::settleSheet).
    using SheetSettler = std::function<SheetFate(const QString& destination, bool accepted)>;
    void setSheetSettler(SheetSettler settler) { m_settler = std::move(settler); }

    // At start: settles what a crash left behind and puts the lines of the saved-queue file
    // that wait for printing into `queue`, which the file mirrors from then on. If the file
    // cannot be read, the error is raised and nothing is written over it until it has been
    // read. A compaction that fails is raised after `queue` has its lines. Lines that can never
    // print (a queue carried over from elsewhere) are set aside like those of the buffer and
    // returned.
    QList<SetAsideLine> restore(const QueueLocation& location, QueuedLines& queue);

    // The first free place that the printed sheets of a journal left by an earlier process set,
    // once, after the saved queue was read.
    std::optional<int> takeSettledFirstFree() { return std::exchange(m_settledFirstFree, {}); }

    // Whether there are lines to take: the buffer, or a taken file left over.
    static bool hasWaitingFiles(const QueueLocation& location);

    // Appends the lines of a taken file left over, then those of the buffer, to `queue`, each
    // file in one crash-safe step. A file that cannot be taken now is left for the next call.
    // Returns the lines set aside (also those of a saved queue read now).
    QList<SetAsideLine> take(const QueueLocation& location, QueuedLines& queue);

    // Whether the saved-queue file still waits to be read (it could not be read, or another
    // process held the queue); the next take or save reads it first.
    bool savedQueueUnread() const { return m_savedQueueUnread; }

    // Makes the saved-queue file hold `queue`: compacts a print journal, and writes the file
    // anew unless it holds `queue` already. If that file could not be read at start, its lines
    // are read first and go to the front of `queue`; while it stays unreadable, an empty queue
    // leaves it as it is.
    void save(const QueueLocation& location, QueuedLines& queue);
    // At the program's close: as save, and the saved-queue file stands afterwards, empty when no
    // label waits, for a host system that looks for it.
    void saveAtClose(const QueueLocation& location, QueuedLines& queue);

    // The lines at `indexes` (ascending) turned out not to print: they go to the set-aside file
    // and leave `queue` and the saved-queue file, which is written without the printed lines of
    // a print journal first. Not while the journal holds sheets of a run not compacted yet: then
    // nothing changes and false is returned.
    bool setAside(const QueueLocation& location, QueuedLines& queue,
                  const QList<qsizetype>& indexes);

    // Takes the queue lock of the location's folder, or keeps it; false while another process
    // holds it. A lock file that cannot be opened raises AppError.
    bool lock(const QueueLocation& location);

    // Printing. Before a run: raises AppError, saying which file and whose it is, when this
    // process could not record what it prints (another account's files in a sticky folder).
    void checkCanRecord(const QueueLocation& location) const;
    // Records a sheet of `queue`'s lines before it goes out; returns its sequence number. The
    // saved-queue file is brought to mirror `queue` first when it does not.
    int recordSheet(const QueueLocation& location, SheetRecord sheet, QueuedLines& queue);
    // The printer has the sheet (`held`: it prints once released; see SheetHandOver); it may
    // print (a failure to record that is harmless).
    void sheetAccepted(const QueueLocation& location, int sequence, bool held);
    void sheetReleased(const QueueLocation& location, int sequence);
    // After a run: the lines of printed sheets leave `queue` (the file keeps them until `save`
    // compacts it). Returns how many left.
    qsizetype dropPrinted(QueuedLines& queue);

    // The names of the files beside the buffer and the saved-queue file.
    struct FileNames;

private:
    // Takes the queue lock, or keeps it, and brings a fold cut short to its end, before anything
    // reads or writes the queue's files.
    void lockAndSettle(const FileNames& names);
    QList<SetAsideLine> fold(const FileNames& names, const QueueLocation& location,
                             QueuedLines& queue);
    static void removeStranger(const QString& path);
    bool foldsInPlace(const FileNames& names, QueueFile::Encoding added,
                      const QueuedLines& queue) const;
    void writeWhole(const FileNames& names, QueuedLines& queue);
    void readUnreadSavedQueue(const FileNames& names, int places, QueuedLines& queue);
    QueuedLines readSavedQueue(const FileNames& names, int places);
    void raiseJournalFaults();
    QList<SetAsideLine> setAsideUnprintable(const FileNames& names, QueuedLines& queue);
    bool inSync(const FileNames& names, const QueuedLines& queue) const;

    // When compaction writes the saved-queue file without the printed lines.
    enum class Rewrite { WhenDue, Always };
    void mirror(const QueueLocation& location, QueuedLines& queue, Rewrite rewrite);

    // The print journal.
    void readJournal(const FileNames& names, const QueuedLines& saved, int places);
    SheetRecord& recordedSheet(int sequence);
    void settleSheets();
    std::optional<int> journalFirstFree() const;
    qint64 printedFront() const;
    bool holdsUnkeptSheets() const;
    PrintJournal::Contents unkeptSheets() const;
    void keepPrinted(const FileNames& names, const QString& settingsFile);
    bool rewriteDue(const FileNames& names, const QueuedLines& queue) const;
    void compact(const FileNames& names, const QString& settingsFile, QueuedLines& queue,
                 Rewrite rewrite);

    SheetSettler m_settler;
    bool m_savedQueueUnread = true;
    // The version of the queue that the saved-queue file holds from byte base() on.
    quint64 m_syncedVersion = 0;
    // The journal of the print runs since the saved-queue file was last written without the
    // printed lines, if there is one.
    std::optional<PrintJournal::Contents> m_journal;
    std::optional<int> m_settledFirstFree;
    // Why records of the journal read last failed their check, until it is reported.
    QString m_journalFaults;
    // Lines set aside whose file could not take them yet, as their bytes.
    QByteArray m_waitingSetAside;
    // Lines of the saved queue set aside when it was read, not reported yet.
    QList<SetAsideLine> m_savedSetAside;
    FileLock m_lock;
};
