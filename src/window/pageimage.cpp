#include "window/pageimage.h"

#include <QMouseEvent>

void PageImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed(event->position().toPoint() - contentsRect().topLeft());
    QLabel::mousePressEvent(event);
}
