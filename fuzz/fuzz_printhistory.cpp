// The history of printed sheets, whatever its content: read within its bounds, its numbers
// growing, and a sheet kept after it gets a number above every other.
#include "fuzzsupport.h"
#include "labels/printhistory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = Fuzz::scratchFile(Fuzz::bytesOf(data, size));
    const QList<PrintedSheet> before = PrintHistory::read(path);
    if (before.size() > PrintHistory::keptSheets)
        Fuzz::fail("more sheets than the history keeps");
    for (qsizetype i = 1; i < before.size(); ++i)
        if (before[i].number <= before[i - 1].number)
            Fuzz::fail("numbers do not grow");

    const QDateTime now = QDateTime::currentDateTime();
    const SheetRecord sheet{.sequence = 1,
                            .lines = 1,
                            .when = now,
                            .labels = {QStringLiteral("12|II 1")},
                            .state = SheetRecord::State::Released};
    PrintHistory::keep(path, {QStringLiteral("1:2"), QStringLiteral("fuzz"), {sheet}}, now);
    const QList<PrintedSheet> after = PrintHistory::read(path);
    if (after.isEmpty() || after.last().journal != QStringLiteral("fuzz") ||
        (!before.isEmpty() && after.last().number <= before.last().number))
        Fuzz::fail("the sheet kept last is not the last, numbered above the others");
    return 0;
}
