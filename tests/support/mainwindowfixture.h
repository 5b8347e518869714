#pragma once

#include "main/tnal1.h"
#include "recordingprinterbackend.h"
#include "scripteddialogs.h"

#include <gtest/gtest.h>
#include <memory>
#include <QTemporaryDir>

// A main window created in a fresh folder that stands for the executable's folder, with its
// default buffer folder "temp/" in place, scripted dialogs and a recording printer.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window; call again to simulate the next start in the same folder.
    void start(const QStringList& arguments = {});
    void start(PrinterBackend* printers);
    QString programDir() const { return dir.path() + QLatin1Char('/'); }
    QString bufferDir() const { return programDir() + QStringLiteral("temp/"); }
    static QString identifier(int i);
    void queueLines(int count);

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    RecordingPrinterBackend printers;
    ScriptedPrinterSetup setup;
    std::unique_ptr<TNal1> window;
};
