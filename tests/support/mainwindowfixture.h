#pragma once

#include "programfolderfixture.h"
#include "window/tnal1.h"

#include <memory>

// A main window created in a fresh program folder.
class MainWindowFixture : public ProgramFolderFixture {
protected:
    void TearDown() override { window.reset(); }

    // Creates the window; call again to simulate the next start in the same folder.
    void start(const QStringList& arguments = {});
    void start(PrinterBackend* printers);
    void queueLines(int count) { window->labels().queue.ListaLini += labelLines(count); }

    std::unique_ptr<TNal1> window;

private:
    void start(PrinterBackend* printers, const QStringList& arguments);
};
