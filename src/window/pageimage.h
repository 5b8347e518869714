#pragma once

#include <QLabel>

// The page image in the preview's scroll box: a label that says where on the page it was
// clicked.
class PageImage : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    // A press of the left button at `point`, in the page image's own pixels.
    void pressed(QPoint point);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
