#include "labels/sheetonpaper.h"

#include "platform/rounding.h"

#include <cmath>

namespace {

constexpr double millimetresPerLayoutPixel = 0.254; // on paper: 1/100 inch

// The edges of the paper: the name of each after "poza" and after "przy".
struct Edge {
    const char16_t* beyond;
    const char16_t* at;
};
constexpr Edge leftEdge{u"lewą krawędź", u"lewej krawędzi"};
constexpr Edge rightEdge{u"prawą krawędź", u"prawej krawędzi"};
constexpr Edge topEdge{u"górną krawędź", u"górnej krawędzi"};
constexpr Edge bottomEdge{u"dolną krawędź", u"dolnej krawędzi"};

// Millimetres to one place, rounded up: a label 0.03 mm off is 0,1 mm off.
QString overshoot(double millimetres)
{
    return millimetresText(std::ceil(millimetres * 10 - 1e-9) / 10);
}

// How far `inner` reaches beyond `outer` and at which edge; none when it stays inside (within
// `slack`).
struct Beyond {
    Edge edge;
    double by = 0;
};

std::optional<Beyond> beyond(const QRectF& inner, const QRectF& outer, double slack)
{
    const std::pair<Edge, double> overshoots[] = {{leftEdge, outer.left() - inner.left()},
                                                  {rightEdge, inner.right() - outer.right()},
                                                  {topEdge, outer.top() - inner.top()},
                                                  {bottomEdge, inner.bottom() - outer.bottom()}};
    for (const auto& [edge, by] : overshoots) {
        if (by > slack)
            return Beyond{edge, by};
    }
    return std::nullopt;
}

QString leavesPage(const QString& name, double by, const QString& beyondWhat)
{
    return QStringLiteral("%1 naklejek wychodzi o %2 mm poza %3 - popraw układ naklejek na "
                          "stronie.")
        .arg(name, overshoot(by), beyondWhat);
}

} // namespace

SheetOnPaper::SheetOnPaper(const Settings& settings, const PageGrid& grid, int barcodeWidth,
                           const PageSetup& page)
    : m_settings(settings)
    , m_grid(grid)
    , m_barcodeWidth(barcodeWidth)
    , m_page(page)
{
}

int SheetOnPaper::marginDots(double millimetres) const
{
    return roundHalfEven(millimetres / 25.4 * m_page.resolution);
}

QRect SheetOnPaper::frame(int place) const
{
    if (!m_settings.stock) {
        const auto dots = [this](int layoutPixels) {
            return roundHalfEven(layoutPixels * m_page.resolution / 100.0);
        };
        const QPoint origin = m_grid.labelOrigin(place);
        return {QPoint(dots(origin.x()), dots(origin.y())),
                QPoint(dots(origin.x() + m_grid.labelWidth) - 1,
                       dots(origin.y() + m_grid.labelHeight) - 1)};
    }
    // Each edge from the paper's corner on its own, so that no rounding adds up down the sheet.
    // An edge on the paper's edge stays on the page's last whole dot; the page of a document is
    // whole points, so it may end a little before the paper.
    const QRect label = m_settings.stock->label(place);
    const auto edge = [this](int hundredths, double paper) {
        const double perMillimetre = m_page.resolution / 25.4;
        const double page = qMin(paper, qRound(paper / 25.4 * 72) * 25.4 / 72);
        return qMin(roundHalfEven(hundredths / 100.0 * perMillimetre),
                    int(std::floor(page * perMillimetre + 1e-6)));
    };
    const QSizeF& paper = m_page.paper;
    const QPoint origin(marginDots(m_page.margins.left()), marginDots(m_page.margins.top()));
    return QRect(QPoint(edge(label.left(), paper.width()), edge(label.top(), paper.height())),
                 QPoint(edge(label.left() + label.width(), paper.width()) - 1,
                        edge(label.top() + label.height(), paper.height()) - 1))
        .translated(-origin);
}

QRect SheetOnPaper::printed(int place) const
{
    const QRect label = frame(place);
    if (!m_settings.BezRamkiB)
        return label;
    // The barcode box across, the lines from 4 layout pixels below the top to 1 above the bottom.
    const double scale = m_page.resolution / 100.0;
    const int side = roundHalfEven((m_grid.labelWidth - m_barcodeWidth) / 2.0 * scale);
    return label.adjusted(side, roundHalfEven(4 * scale), -side, -roundHalfEven(scale));
}

QRectF SheetOnPaper::onPaper(const QRect& dots) const
{
    const double millimetresPerDot = 25.4 / m_page.resolution;
    const QPointF origin(marginDots(m_page.margins.left()), marginDots(m_page.margins.top()));
    return {(QPointF(dots.topLeft()) + origin) * millimetresPerDot,
            QSizeF(dots.width(), dots.height()) * millimetresPerDot};
}

QString SheetOnPaper::offPage(const QString& printer) const
{
    QList<std::pair<int, QString>> lines; // the first label of each column and row, named
    for (int column = 0; column < m_grid.columns; ++column)
        lines.append({column, QStringLiteral("Kolumna %1").arg(column + 1)});
    for (int row = 0; row < m_grid.rows; ++row)
        lines.append({row * m_grid.columns, QStringLiteral("Wiersz %1").arg(row + 1)});
    for (const auto& [place, name] : lines) {
        if (const QString off = offPaper(place, name); !off.isEmpty())
            return off;
    }
    for (const auto& [place, name] : lines) {
        if (const QString off = offPrintableArea(place, name, printer); !off.isEmpty())
            return off;
    }
    return {};
}

QString SheetOnPaper::offPaper(int place, const QString& name) const
{
    const double halfDot = 12.7 / m_page.resolution;
    const std::optional<Beyond> off =
        beyond(onPaper(frame(place)), QRectF(QPointF(), m_page.paper), halfDot);
    if (!off)
        return {};
    return leavesPage(name, off->by,
                      QStringLiteral("%1 papieru (%2 × %3 mm)")
                          .arg(QString::fromUtf16(off->edge.beyond),
                               millimetresText(m_page.paper.width()),
                               millimetresText(m_page.paper.height())));
}

QString SheetOnPaper::offPrintableArea(int place, const QString& name, const QString& printer) const
{
    const double halfDot = 12.7 / m_page.resolution;
    const QRectF printable = QRectF(QPointF(), m_page.paper).marginsRemoved(m_page.margins);
    const std::optional<Beyond> off = beyond(onPaper(printed(place)), printable, halfDot);
    if (!off)
        return {};
    return leavesPage(name, off->by,
                      QStringLiteral("obszar wydruku drukarki „%1” przy %2 papieru")
                          .arg(printer, QString::fromUtf16(off->edge.at)));
}

QPointF SheetOnPaper::paperEdge() const
{
    const QPointF edge(m_page.paper.width(), m_page.paper.height());
    const QPointF origin =
        m_settings.stock ? QPointF() : QPointF(m_page.margins.left(), m_page.margins.top());
    return (edge - origin) / millimetresPerLayoutPixel;
}
