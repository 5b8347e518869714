#pragma once

#include "labelprinterfixture.h"
#include "platform/printing/cupsprinterbackend.h"

#include <cups/cups.h>

// A label printer that prints through the printers it is started with.
class PrintingFixture : public LabelPrinterFixture {
protected:
    // Queues `count` labels and composes the first sheet, as showing the window does.
    void compose(int count)
    {
        queueLines(count);
        labels->ParametryNalepki();
        labels->RysujNal(false);
    }

    void printQueue() { labels->DrukujStrone(int(labels->queue.ListaLini.size()) - 1, false); }
};

// A label printer whose only printer is "Plik PDF": no print scheduler answers.
class FilePrinterFixture : public PrintingFixture {
protected:
    void SetUp() override
    {
        PrintingFixture::SetUp();
        cupsSetServer(QFile::encodeName(dir.filePath(QStringLiteral("no-cups.sock"))));
        start(&printers);
    }
    void TearDown() override
    {
        PrintingFixture::TearDown();
        cupsSetServer(nullptr);
    }

    CupsPrinterBackend printers;
};
