#include "mainwindowfixture.h"

#include <QDir>

void MainWindowFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir().mkpath(bufferDir()));
}

void MainWindowFixture::TearDown()
{
    window.reset();
}

void MainWindowFixture::start(const QStringList& arguments)
{
    window.reset();
    window =
        std::make_unique<TNal1>(Services{&dialogs, true, &printers, &setup}, dir.path(), arguments);
}

void MainWindowFixture::start(PrinterBackend* backend)
{
    window.reset();
    window = std::make_unique<TNal1>(Services{&dialogs, true, backend, &setup}, dir.path(),
                                     QStringList{});
}

QString MainWindowFixture::identifier(int i)
{
    return QStringLiteral("1000000000%1").arg(i, 2, 10, QLatin1Char('0'));
}

void MainWindowFixture::queueLines(int count)
{
    for (int i = 0; i < count; ++i)
        window->queue.ListaLini << identifier(i) + QStringLiteral("|II %1").arg(i);
}
