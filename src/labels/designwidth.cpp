#include "labels/designwidth.h"

#include <QTextLayout>

double designTextWidth(const QFont& font, const QString& text, int dpi)
{
    // Measured once at a large size, where no rounding of positions matters, then scaled.
    constexpr int referencePixels = 1000;
    constexpr double pointsPerInch = 72.0;
    QFont reference = font;
    reference.setHintingPreference(QFont::PreferNoHinting);
    reference.setPixelSize(referencePixels);
    QTextLayout layout(text, reference);
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const double pixels = font.pointSizeF() * dpi / pointsPerInch;
    return line.naturalTextWidth() * pixels / referencePixels;
}
