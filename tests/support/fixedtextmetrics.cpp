#include "fixedtextmetrics.h"

FixedTextMetrics* measureWithFixedMetrics(LabelPrinter& labels)
{
    auto fixed = std::make_unique<FixedTextMetrics>();
    FixedTextMetrics* metrics = fixed.get();
    labels.metrics = std::move(fixed);
    labels.settings.NFont.size = 16;
    labels.settings.SFont.size = 12;
    labels.settings.IFont.size = 14;
    return metrics;
}

bool isWhite(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff)
                return false;
        }
    }
    return true;
}
