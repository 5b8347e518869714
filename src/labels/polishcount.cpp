#include "labels/polishcount.h"

QString countOf(qsizetype count, QStringView one, QStringView few, QStringView many)
{
    const qsizetype ones = count % 10;
    const qsizetype tens = count % 100 / 10;
    QStringView noun = many;
    if (count == 1)
        noun = one;
    else if (ones >= 2 && ones <= 4 && tens != 1)
        noun = few;
    return QString::number(count) + u' ' + noun.toString();
}
