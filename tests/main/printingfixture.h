#pragma once

#include "mainwindowfixture.h"

// A main window that prints through the printers it is started with.
class PrintingFixture : public MainWindowFixture {
protected:
    // Queues `count` labels and composes them, as showing the window does.
    void compose(int count)
    {
        queueLines(count);
        window->ParametryNalepki();
        window->RysujNal(false);
    }

    void printQueue() { window->DrukujStrone(int(window->queue.ListaNal.size()) - 1, false); }
};
