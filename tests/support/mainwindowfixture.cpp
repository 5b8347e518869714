#include "mainwindowfixture.h"

void MainWindowFixture::start(const QStringList& arguments)
{
    start(&printers, arguments);
}

void MainWindowFixture::start(PrinterBackend* backend)
{
    start(backend, {});
}

void MainWindowFixture::start(PrinterBackend* backend, const QStringList& arguments)
{
    window.reset();
    window = std::make_unique<TNal1>(services(backend), dir.path(), arguments);
}
