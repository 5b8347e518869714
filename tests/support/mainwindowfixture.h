#pragma once

#include "main/tnal1.h"
#include "scripteddialogs.h"

#include <gtest/gtest.h>
#include <memory>
#include <QTemporaryDir>

// A main window created in a fresh folder that stands for the executable's folder, with its
// default buffer folder "temp/" in place and scripted dialogs.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window; call again to simulate the next start in the same folder.
    void start(const QStringList& arguments = {});
    QString programDir() const { return m_dir.path() + QLatin1Char('/'); }
    QString bufferDir() const { return programDir() + QStringLiteral("temp/"); }
    void queueLines(int count);

    QTemporaryDir m_dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TNal1> window;
};
