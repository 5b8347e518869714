#pragma once

#include <QImage>
#include <QSize>
#include <QtMath>

// A one-bit image, all white, that QPainter draws on in black and white. `size` is in layout
// pixels; on a screen with more device pixels to one of them (`ratio`, 1.5 or 2 on a
// high-density screen) the image has that many more pixels and QPainter draws on it in layout
// pixels, so that texts and bars are drawn at the screen's own resolution.
inline QImage whiteMonochromeImage(QSize size, qreal ratio = 1)
{
    QImage image(qCeil(size.width() * ratio), qCeil(size.height() * ratio), QImage::Format_Mono);
    image.setDevicePixelRatio(ratio);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0); // index 0 is white
    return image;
}
