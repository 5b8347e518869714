#include "app/historycommand.h"

#include "labels/labelprinter.h"
#include "platform/instancechannel.h"

#include <cstdio>

namespace {

// "3  2026-12-09 14:05:31  Plik PDF  24  100000000024–100000000047", a repetition marked.
QString historyLine(int number, const PrintedSheet& printed)
{
    const SheetRecord& sheet = printed.sheet;
    return QStringLiteral("%1  %2  %3  %4  %5–%6%7")
        .arg(number, 3)
        .arg(sheet.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), sheet.printer)
        .arg(sheet.labels.size(), 3)
        .arg(printed.firstIdentifier(), printed.lastIdentifier(),
             sheet.repeated ? QStringLiteral("  (powtórzenie)") : QString());
}

int askRunningCopy(int number)
{
    switch (InstanceChannel::send(InstanceChannel::Request::Reprint,
                                  InstanceChannel::defaultDirectory(), number)) {
    case InstanceChannel::Answer::Done:
        std::printf("Działający program drukuje ponownie arkusz %d.\n", number);
        return 0;
    case InstanceChannel::Answer::Refused:
        std::fputs("zelk_nal: program nie przyjął polecenia.\n", stderr);
        return 1;
    case InstanceChannel::Answer::NotRunning:
        break;
    }
    std::fputs("zelk_nal: program nie jest uruchomiony.\n", stderr);
    return 1;
}

} // namespace

int printHistoryList(const LabelPrinter& labels)
{
    const QList<PrintedSheet> sheets = labels.printHistory();
    if (sheets.isEmpty())
        std::printf("Historia wydruków jest pusta.\n");
    for (int i = 0; i < sheets.size(); ++i)
        std::printf("%s\n", qUtf8Printable(historyLine(i + 1, sheets[i])));
    return 0;
}

std::optional<PrintedSheet> historySheet(const LabelPrinter& labels, int number)
{
    const QList<PrintedSheet> sheets = labels.printHistory();
    if (number <= sheets.size())
        return sheets[number - 1];
    std::fprintf(stderr,
                 "zelk_nal: w historii wydruków nie ma arkusza %d (arkuszy w historii: %lld); "
                 "listę wypisuje zelk_nal --history.\n",
                 number, static_cast<long long>(sheets.size()));
    return std::nullopt;
}

int historyBesideRunningCopy(const LabelPrinter& labels, std::optional<int> number,
                             std::optional<int> startPlace)
{
    if (!number)
        return printHistoryList(labels);
    if (startPlace) {
        std::fputs("zelk_nal: program jest uruchomiony: --start działa z --reprint tylko bez "
                   "niego; pierwsze wolne miejsce wskazuje się w jego oknie.\n",
                   stderr);
        return 1;
    }
    return historySheet(labels, *number) ? askRunningCopy(*number) : 1;
}
