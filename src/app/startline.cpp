#include "app/startline.h"

#include "labels/labelprinter.h"

QString startLine(LabelPrinter& labels)
{
    const QString printer = labels.printerInUse();
    return QStringLiteral("zelk_nal: ustawienia %1, bufor %2, drukarka %3\n")
        .arg(labels.paths.settingsFile(), labels.paths.NazwaPliku,
             printer.isEmpty() ? QStringLiteral("brak (nie ma żadnej drukarki)") : printer);
}
