// A label whose own line cannot print is set aside with its reason and the others print: bars
// that would not scan in any run, and in runs that ask nothing (nobody is there to change a font
// for one label) a call number too wide. What every label shares (the institution's name, the
// logo, the identifier's pattern and font, the height of the bars) still stops the run.
#include "labels/labelprinter.h"

#include <QScopeGuard>

// Checked before the run's first sheet is recorded, while the saved-queue file may still be
// written anew without the lines set aside.
int LabelPrinter::setAsideOwnFaults(int last, int ppiSzerN, double korppi)
{
    if (m_queueDuringReprint)
        return last; // the lines reprinted are not the queue's
    QList<SetAsideLine> lines;
    QList<qsizetype> indexes;
    for (int i = 0; i <= last; ++i) {
        const QString line = queue.ListaLini[i];
        if (const QString why = ownTextFault(line, ppiSzerN, korppi); !why.isEmpty()) {
            lines << SetAsideLine{line, why};
            indexes << i;
        }
    }
    if (lines.isEmpty() || !queueStore.setAside(queueLocation(), queue.ListaLini, indexes))
        return last;
    reportSetAside(lines);
    composeSheet(0, false);
    return last - int(lines.size());
}

// The line composed apart from the sheet, as its label would be, and measured on paper.
QString LabelPrinter::ownTextFault(const QString& line, int ppiSzerN, double korppi)
{
    if (line.isEmpty())
        return {}; // an empty line keeps an empty record
    TNalepka label;
    AktNalepka = &label;
    const auto composed = qScopeGuard([this] { AktNalepka = nullptr; });
    RysNalep(QSize(geometry.PixSzerN, geometry.PixWysN), line, settings.NazBib1, settings.NazBib2,
             0, 0, false);
    return paperTextFault(label, ppiSzerN, korppi);
}
