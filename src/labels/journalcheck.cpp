#include "labels/journalcheck.h"

#include <QSet>

namespace {

// Whether the file offset `offset` falls inside the text of one of the file's lines.
bool cutsALine(const QueuedLines& file, qint64 offset)
{
    const qsizetype before = file.countBefore(offset);
    return before > 0 && offset < file.fileOffset(before - 1) + file.rawAt(before - 1).size();
}

QString rangeFault(const SheetRecord& sheet, const QueuedLines& file, const QSet<qint64>& starts)
{
    const qint64 size = file.fileOffset(file.size());
    if (sheet.from < 0 || sheet.from > sheet.to || sheet.to > size)
        return QStringLiteral("bajty %1–%2 nie leżą w pliku, który ma %3 bajtów")
            .arg(sheet.from)
            .arg(sheet.to)
            .arg(size);
    if (cutsALine(file, sheet.from) || cutsALine(file, sheet.to))
        return QStringLiteral("bajty %1–%2 przecinają wiersz").arg(sheet.from).arg(sheet.to);
    if (!starts.contains(sheet.from))
        return QStringLiteral("nie zaczyna się od pierwszego wiersza pliku ani tam, gdzie "
                              "skończył się wcześniejszy arkusz");
    const qsizetype first = file.countBefore(sheet.from);
    const qsizetype count = file.countBefore(sheet.to) - first;
    // A record of an earlier version names no labels, only how many.
    const bool labelsNamed = !sheet.labels.isEmpty() || sheet.lines == 0;
    if (count != sheet.lines || (labelsNamed && file.mid(first, count) != sheet.labels))
        return QStringLiteral("wiersze w bajtach %1–%2 to nie naklejki tego arkusza")
            .arg(sheet.from)
            .arg(sheet.to);
    return {};
}

QString placeFault(const SheetRecord& sheet, int places)
{
    const qint64 last = qint64(sheet.firstPlace) - 1 + sheet.lines;
    const bool onTheSheet = places > 0 ? sheet.firstPlace <= places && last <= places &&
                                             sheet.firstFree == last % places + 1
                                       : sheet.firstFree >= 1;
    if (sheet.firstPlace >= 1 && sheet.lines >= 1 && onTheSheet)
        return {};
    return QStringLiteral("miejsca od %1, naklejek %2 i pierwsze wolne miejsce %3 nie pasują do "
                          "arkusza")
        .arg(sheet.firstPlace)
        .arg(sheet.lines)
        .arg(sheet.firstFree);
}

// A reprint's record holds no lines of the file, only the labels printed again.
QString fault(const SheetRecord& sheet, const QueuedLines& file, const QSet<qint64>& starts,
              int places)
{
    if (QString why = placeFault(sheet, places); !why.isEmpty())
        return why;
    if (sheet.from != sheet.to)
        return rangeFault(sheet, file, starts);
    if (!sheet.labels.isEmpty() && sheet.labels.size() != sheet.lines)
        return QStringLiteral("liczba naklejek nie zgadza się z ich listą");
    return {};
}

} // namespace

QStringList JournalCheck::distrustFailing(PrintJournal::Contents& journal, const QueuedLines& file,
                                          int places)
{
    QSet<qint64> starts{file.fileOffset(0)};
    QStringList faults;
    for (SheetRecord& sheet : journal.sheets) {
        // The first free place of a kept sheet is in the settings already, and the sheet may
        // have been printed on a grid changed since.
        const int sheetPlaces = sheet.sequence <= journal.kept ? 0 : places;
        if (const QString why = fault(sheet, file, starts, sheetPlaces); !why.isEmpty()) {
            faults << QStringLiteral("arkusz %1: %2").arg(sheet.sequence).arg(why);
            sheet.state = SheetRecord::State::NotPrinted;
        } else if (sheet.from != sheet.to) {
            starts << sheet.to;
        }
    }
    return faults;
}
