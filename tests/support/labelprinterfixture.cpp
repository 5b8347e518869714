#include "labelprinterfixture.h"

void LabelPrinterFixture::start(const QStringList& arguments)
{
    start(&printers, arguments);
}

void LabelPrinterFixture::start(PrinterBackend* backend)
{
    start(backend, {});
}

void LabelPrinterFixture::start(PrinterBackend* backend, const QStringList& arguments)
{
    labels.reset();
    labels = std::make_unique<LabelPrinter>(services(backend), dir.path(), arguments);
    labels->guard().run([this] { labels->OpenNal(QString()); });
    labels->guard().run([this] { labels->restorePrinter(); });
}
