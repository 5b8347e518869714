#include "app/historycommand.h"

#include "labels/labelprinter.h"
#include "platform/files/instancechannel.h"

#include <algorithm>
#include <cstdio>

namespace {

// The widths of the columns that vary: each as wide as its widest entry.
struct HistoryColumns {
    int number = 0;
    int printer = 0;
    int labels = 0;
};

HistoryColumns columnsOf(const QList<PrintedSheet>& sheets)
{
    HistoryColumns widths;
    for (const PrintedSheet& printed : sheets) {
        widths.number = std::max(widths.number, int(QString::number(printed.number).size()));
        widths.printer = std::max(widths.printer, int(printed.sheet.printer.size()));
        widths.labels =
            std::max(widths.labels, int(QString::number(printed.sheet.labels.size()).size()));
    }
    return widths;
}

// "  3  2026-12-09 14:05:31  Plik PDF  24  100000000024–100000000047", a repetition marked.
QString historyLine(const PrintedSheet& printed, const HistoryColumns& widths)
{
    const SheetRecord& sheet = printed.sheet;
    return QStringLiteral("%1  %2  %3  %4  %5–%6%7")
        .arg(printed.number, std::max(widths.number, 3))
        .arg(sheet.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
             sheet.printer.leftJustified(widths.printer))
        .arg(sheet.labels.size(), std::max(widths.labels, 3))
        .arg(printed.firstIdentifier(), printed.lastIdentifier(),
             sheet.repeated ? QStringLiteral("  (powtórzenie)") : QString());
}

void sayFailed(const QString& why)
{
    std::fprintf(stderr, "zelk_nal: %s\n", qUtf8Printable(why));
}

int askRunningCopy(const LabelPrinter& labels, const PrintedSheet& printed)
{
    QString why;
    switch (InstanceChannel::send(InstanceChannel::Request::Reprint,
                                  InstanceChannel::defaultDirectory(),
                                  labels.nameOf(printed).texts(), &why)) {
    case InstanceChannel::Answer::Done:
        std::printf("Działający program drukuje ponownie arkusz %d z historii wydruków %s.\n",
                    printed.number, qUtf8Printable(labels.historyFile()));
        return 0;
    case InstanceChannel::Answer::Refused:
        sayFailed(QStringLiteral("działający program nie wydrukuje arkusza %1: %2.")
                      .arg(printed.number)
                      .arg(why.isEmpty() ? QStringLiteral("nie przyjął polecenia") : why));
        return 1;
    case InstanceChannel::Answer::NotRunning:
        break;
    }
    sayFailed(QStringLiteral("program nie jest uruchomiony."));
    return 1;
}

} // namespace

int printHistoryList(const LabelPrinter& labels)
{
    QList<PrintedSheet> sheets;
    try {
        sheets = labels.printHistory();
    } catch (const AppError& error) {
        sayFailed(error.text());
        return 1;
    }
    if (sheets.isEmpty())
        std::printf("Historia wydruków jest pusta.\n");
    const HistoryColumns widths = columnsOf(sheets);
    for (const PrintedSheet& printed : std::as_const(sheets))
        std::printf("%s\n", qUtf8Printable(historyLine(printed, widths)));
    return 0;
}

std::optional<PrintedSheet> historySheet(const LabelPrinter& labels, int number)
{
    try {
        return labels.historySheet(number);
    } catch (const AppError& error) {
        sayFailed(error.text() + QStringLiteral("; listę wypisuje zelk_nal --history."));
        return std::nullopt;
    }
}

int historyBesideRunningCopy(const LabelPrinter& labels, std::optional<int> number,
                             std::optional<int> startPlace)
{
    if (!number)
        return printHistoryList(labels);
    if (startPlace) {
        sayFailed(QStringLiteral("program jest uruchomiony: --start działa z --reprint tylko bez "
                                 "niego; pierwsze wolne miejsce wskazuje się w jego oknie."));
        return 1;
    }
    const std::optional<PrintedSheet> printed = historySheet(labels, *number);
    return printed ? askRunningCopy(labels, *printed) : 1;
}
