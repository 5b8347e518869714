#include "labels/screentextmetrics.h"

#include "platform/rounding.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

double screenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace

QFont screenFont(const LabelFont& font)
{
    QFont result = font.toQFont();
    result.setPixelSize(qMax(1, roundHalfEven(result.pointSize() * screenDpi() / 72.0)));
    return result;
}

int ScreenTextMetrics::textHeight(const LabelFont& font, const QString&) const
{
    return metricsOf(font).height();
}

int ScreenTextMetrics::textWidth(const LabelFont& font, const QString& text) const
{
    return metricsOf(font).horizontalAdvance(text);
}

const QFontMetrics& ScreenTextMetrics::metricsOf(const LabelFont& font) const
{
    for (const auto& [cached, metrics] : m_cache) {
        if (cached == font)
            return metrics;
    }
    constexpr qsizetype cacheSize = 8;
    if (m_cache.size() == cacheSize)
        m_cache.removeFirst();
    m_cache.append({font, QFontMetrics(screenFont(font), &m_surface)});
    return m_cache.last().second;
}
