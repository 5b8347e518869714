// The print journal, as a damaged disk or another hand may have left it: read, its records
// checked against a saved queue made of the same input (the bytes before its first NUL; the
// journal follows it), each record read back the same once written again. No record that
// names bytes off the file, other labels than the lines there or places off the sheet is
// trusted.
#include "fuzzsupport.h"
#include "labels/journalcheck.h"
#include "labels/printjournal.h"
#include "labels/queuedlines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    const qsizetype split = bytes.indexOf('\0');
    const QueuedLines saved = QueuedLines::fromFile(split < 0 ? QByteArray() : bytes.first(split));
    std::optional<PrintJournal::Contents> journal =
        PrintJournal::read(Fuzz::scratchFile(split < 0 ? bytes : bytes.sliced(split + 1)));
    if (!journal)
        return 0;
    for (const SheetRecord& sheet : std::as_const(journal->sheets)) {
        const QByteArray written = PrintJournal::sheetFields(sheet);
        const std::optional<SheetRecord> again =
            PrintJournal::parseSheet(("S " + written).split(' '));
        if (!again || PrintJournal::sheetFields(*again) != written)
            Fuzz::fail("a record reads differently once written again");
    }
    JournalCheck::distrustFailing(*journal, saved, 24);
    for (const SheetRecord& sheet : std::as_const(journal->sheets)) {
        if (sheet.state == SheetRecord::State::NotPrinted)
            continue;
        if (sheet.firstFree < 1 || sheet.firstFree > 24)
            Fuzz::fail("a record off the sheet is trusted");
        if (sheet.from == sheet.to)
            continue;
        if (sheet.to > saved.fileOffset(saved.size()))
            Fuzz::fail("a record off the file is trusted");
        const qsizetype first = saved.countBefore(sheet.from);
        if (!sheet.labels.isEmpty() && saved.mid(first, sheet.lines) != sheet.labels)
            Fuzz::fail("a record of other labels than its lines is trusted");
    }
    return 0;
}
