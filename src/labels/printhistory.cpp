#include "labels/printhistory.h"

#include "labels/labelline.h"
#include "platform/apperror.h"
#include "platform/files/fileops.h"
#include "platform/files/ownfile.h"

#include <algorithm>
#include <QFileInfo>
#include <QSet>

namespace {

// The sheets beyond which, or the days beyond keptDays after which, the file is written anew.
constexpr int rewriteSheets = PrintHistory::keptSheets * 3 / 2;
constexpr int rewriteDays = PrintHistory::keptDays + 30;
// Numbers beyond this are damaged: a history gains a few thousand sheets a year.
constexpr int largestNumber = 1'000'000'000;

QByteArray line(const PrintedSheet& printed)
{
    return printed.journal.toLatin1() + ' ' + PrintJournal::sheetFields(printed.sheet) + " #" +
           QByteArray::number(printed.number) + '\n';
}

// The number stored at the end of a line, 0 when it has none. Only the line's last bytes are
// looked at: the labels before it may be long.
int storedNumber(QByteArrayView text)
{
    const QByteArrayView end = text.last(qMin<qsizetype>(text.size(), 12));
    const qsizetype mark = end.lastIndexOf(" #");
    if (mark < 0)
        return 0;
    bool ok = false;
    const int number = end.sliced(mark + 2).toInt(&ok);
    return ok && number > 0 && number <= largestNumber ? number : 0;
}

std::optional<PrintedSheet> parseLine(QByteArrayView text, int number)
{
    if (text.size() > PrintHistory::lineBytes)
        return {};
    QList<QByteArray> fields = text.toByteArray().split(' ');
    if (fields.last().startsWith('#'))
        fields.removeLast();
    if (fields.value(4).toLongLong() > PrintHistory::sheetLabels)
        return {};
    std::optional<SheetRecord> sheet = PrintJournal::parseSheet(fields);
    if (!sheet)
        return {};
    sheet->state = SheetRecord::State::Released;
    return PrintedSheet{QString::fromLatin1(fields[0]), *sheet, number};
}

// The file's last whole lines, from no further back than tailBytes, and whether they are all
// of it. A line the tail starts inside of, and a last line without its end (a kill cut it
// short), do not count.
struct Tail {
    QByteArray bytes;
    QList<QByteArrayView> lines; // in `bytes`
    bool whole = true;
    qint64 end = 0; // the file offset after the last whole line
};

Tail readTail(const QString& path)
{
    if (OwnFile::of(path) == OwnFile::Standing::Foreign)
        throw AppError(OwnFile::notUsed(path));
    Tail tail;
    if (!FileOps::exists(path))
        return tail;
    const qint64 from = qMax<qint64>(0, FileOps::size(path) - PrintHistory::tailBytes);
    QByteArray& bytes = tail.bytes;
    bytes = FileOps::read(path, from);
    bytes.truncate(bytes.lastIndexOf('\n') + 1);
    tail.end = from + bytes.size();
    tail.whole = from == 0;
    for (qsizetype start = tail.whole ? 0 : bytes.indexOf('\n') + 1; start < bytes.size();) {
        const qsizetype end = bytes.indexOf('\n', start);
        tail.lines << QByteArrayView(bytes).sliced(start, end - start);
        start = end + 1;
    }
    return tail;
}

// The number of each line: the one it stores, or the one after the line before it. Numbers only
// grow; a line that the tail does not show the start of the file before has none until a line
// with its own number.
QList<int> numbersOf(const Tail& tail)
{
    QList<int> numbers;
    numbers.reserve(tail.lines.size());
    int previous = tail.whole ? 0 : -1;
    for (QByteArrayView text : tail.lines) {
        const int stored = storedNumber(text);
        const int number = stored > previous && stored > 0 ? stored
                           : previous >= 0                 ? previous + 1
                                                           : 0;
        numbers << number;
        previous = number > 0 ? number : previous;
    }
    return numbers;
}

// The sheets of the tail's last keptSheets lines that have a number.
QList<PrintedSheet> sheetsOf(const Tail& tail)
{
    const QList<int> numbers = numbersOf(tail);
    QList<PrintedSheet> sheets;
    for (qsizetype i = qMax<qsizetype>(0, tail.lines.size() - PrintHistory::keptSheets);
         i < tail.lines.size(); ++i)
        if (numbers[i] > 0)
            if (std::optional<PrintedSheet> printed = parseLine(tail.lines[i], numbers[i]))
                sheets << *printed;
    return sheets;
}

// A journal of an earlier version has no id; the identity of its saved-queue file stands in.
QString idOf(const PrintJournal::Contents& journal)
{
    return journal.id.isEmpty() ? journal.queueIdentity : journal.id;
}

// The sequences of the journal's sheets that the history has: a journal's sheets are appended
// together and after all others, so they can only be the last lines.
QSet<int> keptSequences(const QList<QByteArrayView>& lines, const QString& id)
{
    const QByteArray prefix = id.toLatin1() + ' ';
    QSet<int> kept;
    for (auto it = lines.crbegin(); it != lines.crend() && it->startsWith(prefix); ++it) {
        const QByteArrayView rest = it->sliced(prefix.size());
        const qsizetype space = rest.indexOf(' ');
        kept << (space < 0 ? rest : rest.first(space)).toInt();
    }
    return kept;
}

bool farPastBound(const Tail& tail, qsizetype added, const QDateTime& now)
{
    if (!tail.whole || tail.lines.size() + added > rewriteSheets)
        return true;
    const std::optional<PrintedSheet> oldest =
        tail.lines.isEmpty() ? std::nullopt : parseLine(tail.lines.first(), 1);
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
    const QString temp = PrintHistory::tempName(path);
    if (OwnFile::of(temp) == OwnFile::Standing::Foreign)
        throw AppError(OwnFile::notUsed(temp));
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

QStringList SheetName::texts() const
{
    return {history, QString::number(number), journal, QString::number(sequence)};
}

SheetName SheetName::fromTexts(const QStringList& texts)
{
    if (texts.size() != 4)
        return {};
    return {texts[0], texts[1].toInt(), texts[2], texts[3].toInt()};
}

QList<PrintedSheet> PrintHistory::read(const QString& path)
{
    return sheetsOf(readTail(path));
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
    const Tail tail = readTail(path);
    const QString id = idOf(journal);
    const QSet<int> kept = keptSequences(tail.lines, id);
    const QList<int> numbers = numbersOf(tail);
    int number = numbers.isEmpty() ? 0 : *std::max_element(numbers.cbegin(), numbers.cend());
    QList<PrintedSheet> added;
    for (const SheetRecord& sheet : journal.sheets)
        if (sheet.printed() && !kept.contains(sheet.sequence))
            added << PrintedSheet{id, sheet, ++number};
    if (added.isEmpty())
        return;
    if (farPastBound(tail, added.size(), now)) {
        rewrite(path, sheetsOf(tail) + added, now);
        return;
    }
    // A line that a kill cut short goes, so that the first added sheet starts a line.
    FileOps::truncate(path, tail.end);
    QByteArray appended;
    for (const PrintedSheet& printed : std::as_const(added))
        appended += line(printed);
    FileOps::append(path, appended);
}

QString PrintHistory::tempName(const QString& path)
{
    return path + QStringLiteral(".tmp");
}
