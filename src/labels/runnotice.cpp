#include "labels/runnotice.h"

#include "labels/polishcount.h"

#include <QStringList>

QString labelCount(qsizetype count)
{
    return countOf(count, u"naklejkę", u"naklejki", u"naklejek");
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

RunNotice testPageNotice(const QString& printer, const QString& folder)
{
    if (folder.isEmpty())
        return {QStringLiteral("Wydrukowano stronę wzorcową na drukarce %1.").arg(printer), false};
    return {QStringLiteral("Zapisano stronę wzorcową w folderze %1.").arg(folder), false};
}
