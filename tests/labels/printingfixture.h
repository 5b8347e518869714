#pragma once

#include "labelprinterfixture.h"

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
