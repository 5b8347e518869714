// Composition and preview speed: labels composed per second and the time to draw one sheet.
#include "main/tnal1.h"
#include "platform/dialogs.h"

#include <cstdio>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
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
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QDir().mkpath(folder.path() + QStringLiteral("/temp")); // the default buffer folder
    SilentDialogs dialogs;
    TNal1 window(Services{&dialogs, true}, folder.path(), {});
    window.Timer1.stop();
    window.settings.NazBib1 = QStringLiteral("Biblioteka");
    window.settings.NazBib2 = QStringLiteral("Miejska");

    constexpr int lines = 10000;
    constexpr int passes = 5;
    window.queue.ListaLini = queuedLines(lines);
    window.ParametryNalepki();
    window.RysujNal(false); // warm the font caches
    QElapsedTimer timer;
    timer.start();
    for (int pass = 0; pass < passes; ++pass)
        window.RysujNal(false);
    const double composeSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("RysujNal: %.0f labels composed per second (%d lines, %d passes)\n",
                lines * passes / composeSeconds, lines, passes);

    constexpr int sheets = 200;
    window.queue.ListaLini = queuedLines(24);
    window.RysujNal(false);
    window.PokazStrone();
    timer.restart();
    for (int sheet = 0; sheet < sheets; ++sheet) {
        window.clearPage();
        window.PokazStrone();
    }
    std::printf("PokazStrone: %.2f ms per sheet of 24 labels (%d sheets, %d messages)\n",
                timer.nsecsElapsed() / 1e6 / sheets, sheets, dialogs.shown);
    return 0;
}
