#include "main/settings.h"

QFont LabelFont::toQFont() const
{
    QFont font(name);
    font.setPointSize(qMax(1, size));
    font.setUnderline(underline);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}
