#pragma once

#include <QByteArray>
#include <QString>

// The file operations that the label queue's crash safety rests on, done directly on the
// system so that each step is known to have reached the disk. Failures raise AppError with a
// text that names the file and gives the system's reason.
namespace FileOps {

bool exists(const QString& path);

// Reads the whole of a regular file.
QByteArray read(const QString& path);

// Creates or truncates `path`, writes `bytes` and flushes them to the disk. A failed write
// removes the file again, so it suits temporary files only.
void write(const QString& path, QByteArrayView bytes);

// Renames `from` to `to`, replacing `to`.
void rename(const QString& from, const QString& to);

// Removes `path`; a file that is already gone is no failure.
void remove(const QString& path);

// Flushes the folder's entries (creations, renames, removals) to the disk.
void syncFolder(const QString& folder);

// Renames `path` to `newPath` while holding the file's advisory lock (flock), so that no writer
// that locks the file is writing into it at that moment. Returns false and leaves the file
// where it is when a writer holds the lock, when it is not a regular file, or when it cannot
// be opened or renamed.
bool renameWhenUnlocked(const QString& path, const QString& newPath);

} // namespace FileOps
