#include "labels/calibrationpage.h"

#include "platform/rounding.h"

#include <QPainter>

namespace {

constexpr int rulerMillimetres = 10; // each arm of a cross

class Drawing {
public:
    Drawing(QPainter& painter, int resolution)
        : m_painter(painter)
        , m_dotsPerMillimetre(resolution / 25.4)
        , m_line(qMax(1, dots(0.1)))
    {
    }

    int dots(double millimetres) const { return roundHalfEven(millimetres * m_dotsPerMillimetre); }

    // The outline lies inside the frame, so that its outer edges are the label's.
    void outline(const QRect& frame)
    {
        m_painter.fillRect(QRect(frame.topLeft(), QSize(frame.width(), m_line)), Qt::black);
        m_painter.fillRect(QRect(frame.topLeft(), QSize(m_line, frame.height())), Qt::black);
        m_painter.fillRect(QRect(frame.left(), frame.bottom() + 1 - m_line, frame.width(), m_line),
                           Qt::black);
        m_painter.fillRect(QRect(frame.right() + 1 - m_line, frame.top(), m_line, frame.height()),
                           Qt::black);
    }

    // A cross centred on `corner`, with a tick each millimetre along its arms and numbered ones
    // every five: the stock's corner under it shows how far, and which way, to move the print.
    void cross(QPoint corner)
    {
        const int arm = dots(rulerMillimetres);
        const int half = m_line / 2;
        m_painter.fillRect(QRect(corner.x() - arm, corner.y() - half, 2 * arm, m_line), Qt::black);
        m_painter.fillRect(QRect(corner.x() - half, corner.y() - arm, m_line, 2 * arm), Qt::black);
        const QFontMetrics metrics = m_painter.fontMetrics();
        for (int millimetre = -rulerMillimetres; millimetre <= rulerMillimetres; ++millimetre) {
            const int at = dots(millimetre);
            const bool numbered = millimetre % 5 == 0 && millimetre != 0;
            const int tick = dots(numbered ? 2 : 1);
            m_painter.fillRect(QRect(corner.x() + at - half, corner.y() - tick, m_line, 2 * tick),
                               Qt::black);
            m_painter.fillRect(QRect(corner.x() - tick, corner.y() + at - half, 2 * tick, m_line),
                               Qt::black);
            if (!numbered)
                continue;
            const QString number = QString::number(millimetre);
            const int width = metrics.horizontalAdvance(number);
            m_painter.drawText(
                QPoint(corner.x() + at - width / 2, corner.y() + tick + metrics.ascent()), number);
            m_painter.drawText(
                QPoint(corner.x() + tick + m_line, corner.y() + at + metrics.ascent() / 2), number);
        }
    }

    // The text on white, centred in `area`.
    void caption(const QRect& area, const QString& text)
    {
        const int flags = Qt::AlignCenter | Qt::TextWordWrap;
        const QRect box = m_painter.boundingRect(area, flags, text);
        m_painter.fillRect(box, Qt::white);
        m_painter.drawText(box, flags, text);
    }

private:
    QPainter& m_painter;
    double m_dotsPerMillimetre;
    int m_line;
};

} // namespace

void drawCalibrationPage(QPainter& painter, const CalibrationPage& page)
{
    if (page.frames.isEmpty())
        return;
    Drawing drawing(painter, page.resolution);
    for (const QRect& frame : page.frames)
        drawing.outline(frame);
    painter.setPen(Qt::black);
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 6));
    const QPoint first = page.frames.front().topLeft();
    const QPoint last = page.frames.back().bottomRight() + QPoint(1, 1);
    drawing.cross(first);
    drawing.cross(last);
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    const QRect between(first, last);
    const int across = between.width() / 4;
    const int down = between.height() / 4;
    drawing.caption(between.adjusted(across, down, -across, -down), page.caption);
}
