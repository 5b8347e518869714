#pragma once

#include "labels/textmetrics.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QList>
#include <utility>

// A label font as the screen shows it: its point size applied at the screen's logical
// resolution, in whole pixels, without anti-aliasing.
QFont screenFont(const LabelFont& font);

// Measures texts the way the screen draws them, on a monochrome image like the page image.
class ScreenTextMetrics : public TextMetrics {
public:
    int textHeight(const LabelFont& font, const QString& text) const override;
    int textWidth(const LabelFont& font, const QString& text) const override;

private:
    const QFontMetrics& metricsOf(const LabelFont& font) const;

    QImage m_surface = QImage(1, 1, QImage::Format_Mono);
    // Three label fonts and the few smaller sizes of a shrunk call number: a short list does.
    mutable QList<std::pair<LabelFont, QFontMetrics>> m_cache;
};
