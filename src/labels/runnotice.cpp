#include "labels/runnotice.h"

#include <QStringList>

QString labelCount(qsizetype count)
{
    const qsizetype ones = count % 10;
    const qsizetype tens = count % 100 / 10;
    const QString number = QString::number(count);
    if (count == 1)
        return number + QStringLiteral(" naklejkę");
    if (ones >= 2 && ones <= 4 && tens != 1)
        return number + QStringLiteral(" naklejki");
    return number + QStringLiteral(" naklejek");
}

RunNotice runNotice(qsizetype printed, const QString& printer, const QString& folder,
                    const QString& failure)
{
    QStringList sentences;
    if (printed > 0 && folder.isEmpty())
        sentences
            << QStringLiteral("Wydrukowano %1 na drukarce %2.").arg(labelCount(printed), printer);
    else if (printed > 0)
        sentences << QStringLiteral("Zapisano %1 w folderze %2.").arg(labelCount(printed), folder);
    if (!failure.isEmpty())
        sentences << QStringLiteral("Błąd wydruku: ") + failure;
    return {sentences.join(QLatin1Char(' ')), !failure.isEmpty()};
}
