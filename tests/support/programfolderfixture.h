#pragma once

#include "labels/services.h"
#include "recordingnotifier.h"
#include "recordingprinterbackend.h"
#include "scripteddialogs.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

// A fresh folder that stands for the executable's folder, with its default buffer folder
// "temp/" in place, scripted dialogs, a recording printer and recorded notices.
class ProgramFolderFixture : public ::testing::Test {
protected:
    void SetUp() override;

    Services services(PrinterBackend* backend)
    {
        return {&dialogs, nullptr, backend, &setup, &notifier};
    }
    QString programDir() const { return dir.path() + QLatin1Char('/'); }
    QString bufferDir() const { return programDir() + QStringLiteral("temp/"); }
    static QString identifier(int i);
    // `count` numbered lines: identifier(i) + "|II i".
    static QStringList labelLines(int count);

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    RecordingPrinterBackend printers;
    ScriptedPrinterSetup setup;
    RecordingNotifier notifier;
};
