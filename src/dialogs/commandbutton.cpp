#include "dialogs/commandbutton.h"

#include <QPainter>

namespace {

constexpr int kFrameInset = 4;

} // namespace

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
}

void CommandButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(kFrameInset, kFrameInset, -kFrameInset - 1, -kFrameInset - 1));
}
