#pragma once

#include "labels/queuefile.h"
#include "platform/filelock.h"

#include <optional>
#include <QString>
#include <QStringList>

// Where the label queue's files lie and how their text is encoded.
struct QueueLocation {
    QString folder; // the buffer folder; the saved-queue file "zelk.nal" lies here
    QString buffer; // the buffer file the host system appends to
    bool utf8 = true;
    // A file that a sheet's commit replaces together with the saved-queue file (the settings
    // file, which keeps the first free place of the sheet in the printer); empty: none.
    QString companion;
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
//      "zelk.nal.odrzucone" (0 for a missing file), and flushed with the folder;
//   2. the lines are appended to "zelk.nal" and flushed; if the file's last line has no end,
//      CR LF goes first;
//   3. the folder is flushed and the taken file removed (the commit), its folder flushed;
//   4. the queue gets the lines, and the marker is removed, the folder flushed.
//   A failure before the commit cuts the files back at once and removes the marker; what
//   cannot be cut back then stays marked. Before every operation, and before a prepared save
//   is put in place, an append cut short is settled: a marker beside its taken file never
//   committed, and both files are cut back to the recorded sizes; a marker alone committed.
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
//   the folder. Printing prepares that file before a sheet goes out and puts it in place as soon
//   as the sheet has been accepted, so only a rename and a flush lie between the two (and the
//   settling of an append cut short meanwhile, when there is one).
// - No file of the folder is read or written through a symbolic link (see FileOps).
//
// Every failure raises AppError and changes neither the queue nor the files in a way that
// loses or doubles a line.
class QueueStore {
public:
    // At start: settles what a crash left behind and returns the lines of the saved-queue
    // file, which stays as the queue's mirror. If the file cannot be read, the error is raised
    // and nothing is written over it until it has been read.
    QStringList restore(const QueueLocation& location);

    // Whether there are lines to take: the buffer, or a taken file left over.
    static bool hasWaitingFiles(const QueueLocation& location);

    // Appends the lines of a taken file left over, then those of the buffer, to `queue`, each
    // file in one crash-safe step. A file that cannot be taken now is left for the next call.
    // The first `printedFront` lines of `queue` are out of the saved-queue file already (sheets
    // of a print run still going on) and stay out of it. Returns the lines set aside.
    QList<SetAsideLine> take(const QueueLocation& location, QStringList& queue,
                             qsizetype printedFront = 0);

    // Whether the saved-queue file still waits to be read (it could not be read, or another
    // process held the queue); the next take or save reads it first.
    bool savedQueueUnread() const { return m_savedQueueUnread; }

    // Writes `queue` as the saved-queue file. If that file could not be read at start, its
    // lines are read first and go to the front of `queue`; while it stays unreadable, an
    // empty queue leaves it as it is.
    void save(const QueueLocation& location, QStringList& queue);

    // The saved-queue file in two steps, for a change that must land the moment something else
    // succeeds: prepareSave writes and flushes `lines` beside the file, commitSave puts them in
    // place (a rename and a folder flush), discardSave drops them. With `companion`, the
    // location's companion file gets those bytes in the same step: they are written beside it
    // as "<companion>.zelk.nal.tmp" after the queue's, and renamed into place right after the
    // queue's rename; a crash in between is finished at the next operation, which finds them
    // without the queue's temporary file. Where the companion's folder takes no new file, the
    // companion is written over in place right after the queue's rename instead.
    void prepareSave(const QueueLocation& location, const QStringList& lines,
                     const std::optional<QByteArray>& companion = std::nullopt);
    void commitSave(const QueueLocation& location);
    void discardSave(const QueueLocation& location);

    // Takes the queue lock of the location's folder, or keeps it; false while another process
    // holds it. A lock file that cannot be opened raises AppError.
    bool lock(const QueueLocation& location);

    // The names of the files beside the buffer and the saved-queue file.
    struct FileNames;

private:
    // Takes the queue lock, or keeps it, and brings a fold cut short to its end, before anything
    // reads or writes the queue's files.
    void lockAndSettle(const FileNames& names);
    QList<SetAsideLine> takeFiles(const FileNames& names, bool utf8, QStringList& queue,
                                  qsizetype printedFront);
    QList<SetAsideLine> fold(const FileNames& names, bool utf8, QStringList& queue,
                             qsizetype printedFront);
    void putSaveInPlace(const FileNames& names, bool utf8);
    void readUnreadSavedQueue(const FileNames& names, QStringList& queue);
    QStringList readSavedQueue(const FileNames& names);

    void settleCompanion(const FileNames& names);

    bool m_savedQueueUnread = true;
    // Companion bytes to write in place after the queue's rename: its folder took no new file.
    std::optional<QByteArray> m_companionInPlace;
    // The encoding the saved-queue file's bytes are read in, as last read or written.
    QueueFile::Encoding m_savedEncoding = QueueFile::Encoding::Ascii;
    FileLock m_lock;
};
