#pragma once

#include <QFont>
#include <QString>

// The width of `text` in `font` (sized in points) printed at `dpi`, in dots, from the font's
// design metrics: unhinted advances scale with the resolution, so whether a text fits on paper
// does not depend on the printer it goes to.
double designTextWidth(const QFont& font, const QString& text, int dpi);
