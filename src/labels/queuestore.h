#pragma once

#include "platform/filelock.h"

#include <QString>
#include <QStringList>

// Where the label queue's files lie and how their text is encoded.
struct QueueLocation {
    QString folder; // the buffer folder; the saved-queue file "zelk.nal" lies here
    QString buffer; // the buffer file the host system appends to
    bool utf8 = true;
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
// - Folding a taken file into the queue has one commit point: the whole new queue is written
//   to "zelk.nal.fold" and flushed, the taken file is removed (the commit), and the fold file
//   is renamed over "zelk.nal". A fold file found beside its taken file never committed and is
//   discarded; one found alone replaces "zelk.nal". Every operation settles such a fold before
//   it reads or writes anything else. A taken file left over is read like a buffer.
// - A line that can never print (see whyUnprintable) does not join the queue: the fold appends
//   it to "zelk.nal.odrzucone" instead, through "zelk.nal.odrzucone.fold" under the same
//   commit point.
// - Any other change writes "zelk.nal.tmp", flushes it, renames it over "zelk.nal" and flushes
//   the folder. Printing prepares that file before a sheet goes out and puts it in place as soon
//   as the sheet has been accepted, so only a rename and a flush lie between the two.
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
    // place (a rename and a folder flush), discardSave drops them.
    void prepareSave(const QueueLocation& location, const QStringList& lines);
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
    void readUnreadSavedQueue(const FileNames& names, QStringList& queue);
    QStringList readSavedQueue(const FileNames& names);

    bool m_savedQueueUnread = true;
    FileLock m_lock;
};
