#include "programfolderfixture.h"

#include <QDir>

void ProgramFolderFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir().mkpath(bufferDir()));
}

QString ProgramFolderFixture::identifier(int i)
{
    return QStringLiteral("1000000000%1").arg(i, 2, 10, QLatin1Char('0'));
}

QStringList ProgramFolderFixture::labelLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << identifier(i) + QStringLiteral("|II %1").arg(i);
    return lines;
}
