// Composition and preview speed: labels composed per second and the time to draw one sheet. The
// sheets must come out whole: every label composed and drawn, no message.
#include "benchmode.h"
#include "labels/labelprinter.h"
#include "labels/monochrome.h"
#include "platform/dialogs.h"

#include <cstdio>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

class SilentDialogs : public Dialogs {
public:
    MessageAnswer message(const Message&) override
    {
        ++shown;
        return MessageAnswer::Ok;
    }
    void notify(const Message&) override {}
    void withdraw(const QString&) override {}
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    std::optional<QString> openPicture(const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&) override
    {
        return std::nullopt;
    }

    int shown = 0;
};

QStringList queuedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("%1|II %2").arg(100000000000LL + i * 7919LL).arg(i);
    return lines;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool quick = shortRun(argc, argv);
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    QDir().mkpath(folder.path() + QStringLiteral("/temp")); // the default buffer folder
    SilentDialogs dialogs;
    LabelPrinter labels(Services{&dialogs}, folder.path(), {});
    labels.settings.NazBib1 = QStringLiteral("Biblioteka");
    labels.settings.NazBib2 = QStringLiteral("Miejska");

    const int lines = quick ? 1000 : 10000;
    const int passes = quick ? 1 : 5;
    const int perSheet = labels.settings.labelsPerSheet();
    labels.queue.ListaLini = queuedLines(lines);
    labels.ParametryNalepki();
    labels.RysujNal(false); // warm the font caches
    QElapsedTimer timer;
    timer.start();
    for (int pass = 0; pass < passes; ++pass)
        for (int first = 0; first < lines; first += perSheet)
            labels.composeSheet(first, false);
    const double composeSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("composeSheet: %.0f labels composed per second (%d lines, %d passes)\n",
                lines * passes / composeSeconds, lines, passes);

    const int sheets = quick ? 10 : 200;
    labels.RysujNal(false);
    QImage page = whiteMonochromeImage(labels.pageGrid().pageSize());
    timer.restart();
    for (int sheet = 0; sheet < sheets; ++sheet) {
        page.fill(0);
        for (const TNalepka& label : labels.queue.ListaNal)
            labels.PokazNalepke(label, page);
    }
    std::printf("PokazNalepke: %.2f ms per sheet of %d labels (%d sheets, %d messages)\n",
                timer.nsecsElapsed() / 1e6 / sheets, perSheet, sheets, dialogs.shown);
    const bool drawn = page != whiteMonochromeImage(page.size());
    if (labels.queue.ListaNal.size() != perSheet || dialogs.shown != 0 || !drawn) {
        std::printf("bench_render: the sheet was not composed and drawn whole\n");
        return 1;
    }
    return 0;
}
