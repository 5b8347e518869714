#pragma once

#include <QImage>
#include <QSize>

// A one-bit image, all white, that QPainter draws on in black and white.
inline QImage whiteMonochromeImage(QSize size)
{
    QImage image(size, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0); // index 0 is white
    return image;
}
