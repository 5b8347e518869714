#include "mainwindowfixture.h"

#include <QDir>

void MainWindowFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(QDir().mkpath(bufferDir()));
}

void MainWindowFixture::TearDown()
{
    window.reset();
}

void MainWindowFixture::start(const QStringList& arguments)
{
    window.reset();
    window = std::make_unique<TNal1>(Services{&dialogs, true}, m_dir.path(), arguments);
}

void MainWindowFixture::queueLines(int count)
{
    for (int i = 0; i < count; ++i)
        window->queue.ListaLini
            << QStringLiteral("1000000000%1|II %1").arg(i, 2, 10, QLatin1Char('0'));
}
