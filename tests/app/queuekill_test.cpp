#include "labels/queuefile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <random>

namespace {

// The program is killed at random moments while a writer appends lines to its buffer, and
// started again each time: at the end every line is in its saved queue exactly once, in order.
class ProgramKilledWhileLinesArrive : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        program = m_dir.filePath(QStringLiteral("zelk_nal"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZELK_PROGRAM), program));
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("temp"))));
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("run"))));
        QFile::setPermissions(m_dir.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString buffer() const { return m_dir.filePath(QStringLiteral("temp/naklejka.dat")); }

    // A copy that meets neither a desktop nor a developer's running copy.
    void launch(QProcess& process) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("ZELK_NAL_INSTANCE_DIR"), m_dir.filePath("run"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted());
    }

    // Half the copies die a few milliseconds after they took the buffer, while they fold it
    // into their queue.
    void killWhileFolding(std::mt19937& random) const
    {
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(buffer() + QStringLiteral(".taken")) && clock.elapsed() < 2500)
            QThread::usleep(200);
        QThread::usleep(random() % 15000);
    }

    QStringList savedQueue() const
    {
        QFile saved(m_dir.filePath(QStringLiteral("temp/zelk.nal")));
        EXPECT_TRUE(saved.open(QIODevice::ReadOnly));
        return QueueFile::parse(saved.readAll(), true);
    }

    QTemporaryDir m_dir;
    QString program;
};

TEST_F(ProgramKilledWhileLinesArrive, LosesAndDoublesNoLine)
{
    constexpr int lineCount = 4000;
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedChannels);
    writer.start(QStringLiteral("bash"),
                 {QStringLiteral(ZELK_SOURCE_DIR "/tests/support/append_labels.sh"), buffer(),
                  QStringLiteral("1"), QString::number(lineCount), QStringLiteral("500")});
    ASSERT_TRUE(writer.waitForStarted());

    std::mt19937 random(std::random_device{}());
    int kills = 0;
    int interruptedFolds = 0;
    while (!writer.waitForFinished(0)) {
        interruptedFolds += QFile::exists(m_dir.filePath(QStringLiteral("temp/zelk.nal.dopisek")));
        QProcess copy;
        launch(copy);
        if (kills % 2 == 0)
            QThread::msleep(300 + random() % 1700);
        else
            killWhileFolding(random);
        copy.kill();
        copy.waitForFinished();
        ++kills;
    }
    ASSERT_EQ(writer.exitCode(), 0);
    EXPECT_GT(kills, 10);
    RecordProperty("kills", kills);
    RecordProperty("interrupted_folds", interruptedFolds);

    QProcess last;
    launch(last);
    QElapsedTimer clock;
    clock.start();
    while ((QFile::exists(buffer()) || QFile::exists(buffer() + ".taken")) &&
           clock.elapsed() < 60000) // generous: an instrumented build under load is slow
        QThread::msleep(50);
    last.kill();
    last.waitForFinished();

    QStringList expected;
    for (int n = 1; n <= lineCount; ++n)
        expected << QStringLiteral("%1|II %2").arg(n, 12, 10, QLatin1Char('0')).arg(n);
    EXPECT_EQ(savedQueue(), expected);
}

} // namespace
