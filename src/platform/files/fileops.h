#pragma once

#include <functional>
#include <QByteArray>
#include <QString>

// The file operations that the label queue's crash safety rests on, done directly on the
// system so that each step is known to have reached the disk. The buffer folder may be
// writable by other accounts, so no operation follows a symbolic link: a link counts as a file
// of its own, is never read or written through, and a file is created only where none stands.
// Failures raise AppError with a text that names the file and gives the reason in Polish.
namespace FileOps {

// Whether an entry of that name exists (a link counts, whatever it points to).
bool exists(const QString& path);

// The size of the entry `path` (a link's own size), or 0 when there is none.
qint64 size(const QString& path);

// Reads a regular file from `offset` to its end, into room for `spare` more bytes, so that as
// many can be appended to what was read without moving it.
QByteArray read(const QString& path, qint64 offset = 0, qint64 spare = 0);

// Creates `path` anew (an entry left there is removed first, a link included), writes `bytes`
// and flushes them to the disk; mode 0644 at most. A failed write removes the file again, so
// it suits temporary files only.
void createNew(const QString& path, QByteArrayView bytes);

// The name `stem` + `suffix` in `folder`, or `stem` + " (2)" + `suffix` and so on when that
// name is taken.
QString freeName(const QString& folder, const QString& stem, const QString& suffix);

// Creates the new file `path` (its folder created when missing) holding `bytes`, flushes it and
// the folder to the disk, then runs `created`. The file appears whole under its name or not at
// all where the file system allows (O_TMPFILE); it never replaces or writes through anything: a
// name that is taken raises AppError.
void createExclusive(
    const QString& path, QByteArrayView bytes, const std::function<void()>& created = [] {});

// The device and inode of the entry `path` as text, empty when there is none. A file written
// anew and renamed into place gets another one.
QString identity(const QString& path);

// When appended bytes reach the disk: before the append returns, or with the file's next flush
// (until then a power cut may take them back, a kill does not).
enum class Flush { Now, WithNext };

// Appends `bytes` to the regular file `path`, created with mode 0644 at most when missing, and
// flushes them to the disk as `flush` says. A failed append may leave part of `bytes` in the
// file.
void append(const QString& path, QByteArrayView bytes, Flush flush = Flush::Now);

// Cuts the regular file `path` back to `size` bytes and flushes it; a file no longer than that,
// or none, is left as it is.
void truncate(const QString& path, qint64 size);

// Renames `from` to `to`, replacing `to`.
void rename(const QString& from, const QString& to);

// Removes `path`; a file that is already gone is no failure.
void remove(const QString& path);

// Flushes the folder's entries (creations, renames, removals) to the disk.
void syncFolder(const QString& folder);

// Renames the regular file `path` to `newPath` while holding its advisory lock (flock), so that
// no writer that locks the file is writing into it at that moment. Returns false and leaves the
// file where it is when a writer holds the lock or the file has gone meanwhile. A link, a FIFO, a
// folder, a file that cannot be opened or renamed raise AppError naming it and the reason.
bool renameWhenUnlocked(const QString& path, const QString& newPath);

// The reason for a system error number, in Polish where the program knows the case.
QString reason(int error);

} // namespace FileOps
