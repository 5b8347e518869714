#include "labels/printhistory.h"

#include "labels/labelline.h"
#include "platform/fileops.h"

#include <algorithm>
#include <QFileInfo>
#include <QSet>

namespace {

// The sheets beyond which, or the days beyond keptDays after which, the file is written anew.
constexpr int rewriteSheets = PrintHistory::keptSheets * 3 / 2;
constexpr int rewriteDays = PrintHistory::keptDays + 30;

QByteArray line(const PrintedSheet& printed)
{
    return printed.journal.toLatin1() + ' ' + PrintJournal::sheetFields(printed.sheet) + '\n';
}

std::optional<PrintedSheet> parseLine(const QByteArray& text)
{
    const QList<QByteArray> fields = text.split(' ');
    std::optional<SheetRecord> sheet = PrintJournal::parseSheet(fields);
    if (!sheet)
        return {};
    sheet->state = SheetRecord::State::Released;
    return PrintedSheet{QString::fromLatin1(fields[0]), *sheet};
}

// The file's whole lines; a last line without its end was cut short by a kill.
QList<QByteArray> wholeLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    return lines;
}

// A journal of an earlier version has no id; the identity of its saved-queue file stands in.
QString idOf(const PrintJournal::Contents& journal)
{
    return journal.id.isEmpty() ? journal.queueIdentity : journal.id;
}

// The sequences of the journal's sheets that the history has: a journal's sheets are appended
// together and after all others, so they can only be the last lines.
QSet<int> keptSequences(const QList<QByteArray>& lines, const QString& id)
{
    const QByteArray prefix = id.toLatin1() + ' ';
    QSet<int> kept;
    for (auto it = lines.crbegin(); it != lines.crend() && it->startsWith(prefix); ++it)
        kept << it->split(' ').value(1).toInt();
    return kept;
}

bool farPastBound(const QList<QByteArray>& lines, qsizetype added, const QDateTime& now)
{
    if (lines.size() + added > rewriteSheets)
        return true;
    const std::optional<PrintedSheet> oldest =
        lines.isEmpty() ? std::nullopt : parseLine(lines.first());
    return oldest && oldest->sheet.when < now.addDays(-rewriteDays);
}

// The file anew with the sheets the history offers: written beside it, then renamed over it.
void rewrite(const QString& path, const QList<PrintedSheet>& sheets, const QDateTime& now)
{
    QList<PrintedSheet> kept = PrintHistory::listed(sheets, now);
    std::reverse(kept.begin(), kept.end());
    QByteArray bytes;
    for (const PrintedSheet& printed : std::as_const(kept))
        bytes += line(printed);
    const QString temp = path + QStringLiteral(".tmp");
    FileOps::createNew(temp, bytes);
    FileOps::rename(temp, path);
    FileOps::syncFolder(QFileInfo(path).path());
}

} // namespace

QString PrintedSheet::firstIdentifier() const
{
    return splitLabelLine(sheet.labels.value(0)).identifier;
}

QString PrintedSheet::lastIdentifier() const
{
    return splitLabelLine(sheet.labels.isEmpty() ? QString() : sheet.labels.last()).identifier;
}

QList<PrintedSheet> PrintHistory::read(const QString& path)
{
    QList<PrintedSheet> sheets;
    if (!FileOps::exists(path))
        return sheets;
    for (const QByteArray& text : wholeLines(FileOps::read(path)))
        if (std::optional<PrintedSheet> printed = parseLine(text))
            sheets << *printed;
    return sheets;
}

QList<PrintedSheet> PrintHistory::listed(const QList<PrintedSheet>& sheets, const QDateTime& now)
{
    const QDateTime oldest = now.addDays(-keptDays);
    QList<PrintedSheet> shown;
    for (auto it = sheets.crbegin(); it != sheets.crend() && shown.size() < keptSheets; ++it)
        if (it->sheet.when >= oldest)
            shown << *it;
    return shown;
}

void PrintHistory::keep(const QString& path, const PrintJournal::Contents& journal,
                        const QDateTime& now)
{
    const QByteArray bytes = FileOps::exists(path) ? FileOps::read(path) : QByteArray();
    const QList<QByteArray> lines = wholeLines(bytes);
    const QString id = idOf(journal);
    const QSet<int> kept = keptSequences(lines, id);
    QList<PrintedSheet> added;
    for (const SheetRecord& sheet : journal.sheets)
        if (sheet.printed() && !kept.contains(sheet.sequence))
            added << PrintedSheet{id, sheet};
    if (added.isEmpty())
        return;
    if (farPastBound(lines, added.size(), now)) {
        rewrite(path, read(path) + added, now);
        return;
    }
    // A line that a kill cut short goes, so that the first added sheet starts a line.
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        FileOps::truncate(path, bytes.lastIndexOf('\n') + 1);
    QByteArray appended;
    for (const PrintedSheet& printed : std::as_const(added))
        appended += line(printed);
    FileOps::append(path, appended);
}
