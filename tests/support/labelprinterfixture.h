#pragma once

#include "labels/labelprinter.h"
#include "programfolderfixture.h"

#include <memory>

// The label printer without a window, started in a fresh program folder as the window starts
// it: settings, saved queue and printer restored.
class LabelPrinterFixture : public ProgramFolderFixture {
protected:
    void TearDown() override { labels.reset(); }

    // Creates the label printer; call again to simulate the next start in the same folder.
    void start(const QStringList& arguments = {});
    void start(PrinterBackend* printers);
    void queueLines(int count) { labels->queue.ListaLini += labelLines(count); }

    std::unique_ptr<LabelPrinter> labels;

private:
    void start(PrinterBackend* printers, const QStringList& arguments);
};
