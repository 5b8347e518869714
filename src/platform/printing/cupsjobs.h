#pragma once

#include <optional>
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Print jobs of a CUPS queue in two phases: a job is created held, gets its document, and prints
// only once released. So a sheet can be recorded as handed over before anything of it may
// print, and a job whose record never completed can be cancelled unprinted.
namespace CupsJobs {

using Options = QList<QPair<QByteArray, QByteArray>>;

// Creates a held job on `queue` (a destination, "name" or "name/instance") and returns its id.
// Raises PrinterError.
int createHeld(const QString& queue, const QString& title, const Options& options);

// The jobs of this user on `queue` titled `title` that have not ended; none when the scheduler
// cannot be asked.
std::optional<QList<int>> titled(const QString& queue, const QString& title);

// Sends the PDF file `fileName` as the job's one document. Raises PrinterError.
void sendDocument(const QString& queue, int job, const QString& fileName);

// Lets a held job print. True when it was released, or is no longer held (released before,
// printed, or removed); false when the scheduler could not be asked.
bool release(int job);

// Cancels a job; one that has already ended is left as it is. Failures are ignored: a held job
// that stays prints nothing.
void cancel(const QString& queue, int job);

} // namespace CupsJobs
