#pragma once

#include <QString>

// A count with its noun in the form Polish gives it after that number: `one` after 1
// ("1 miejsce"), `few` after 2–4, 22–24, 32–34 … ("2 miejsca", "22 miejsca"), `many` after
// every other number ("5 miejsc", "12 miejsc", "0 miejsc").
QString countOf(qsizetype count, QStringView one, QStringView few, QStringView many);
