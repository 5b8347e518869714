#include "platform/printing/printsettings.h"

#include <QRegularExpression>

namespace {

constexpr int lowestResolution = 60;
constexpr int highestResolution = 4800;
constexpr double shortestPaperSide = 10; // millimetres

QString millimetres(double value)
{
    return QString::number(value, 'g', 6);
}

bool leavesPrintableArea(const QMarginsF& margins, QSizeF paper)
{
    return margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 &&
           margins.bottom() >= 0 && margins.left() + margins.right() < paper.width() &&
           margins.top() + margins.bottom() < paper.height();
}

} // namespace

QString settingsFlaw(const PrintSettings& settings)
{
    if (settings.resolution < lowestResolution || settings.resolution > highestResolution)
        return QStringLiteral("rozdzielczość %1 dpi spoza zakresu od %2 do %3 dpi")
            .arg(settings.resolution)
            .arg(lowestResolution)
            .arg(highestResolution);
    QSizeF paper = settings.pageSize.size(QPageSize::Millimeter);
    if (settings.orientation == QPageLayout::Landscape)
        paper.transpose();
    const QString paperText =
        QStringLiteral("%1 × %2 mm").arg(millimetres(paper.width()), millimetres(paper.height()));
    if (qMin(paper.width(), paper.height()) < shortestPaperSide)
        return QStringLiteral("papier %1, bok krótszy niż %2 mm")
            .arg(paperText, millimetres(shortestPaperSide));
    const QMarginsF& m = settings.margins;
    if (!leavesPrintableArea(m, paper))
        return QStringLiteral("marginesy (lewy %1, górny %2, prawy %3, dolny %4 mm) nie mieszczą "
                              "się na papierze %5")
            .arg(millimetres(m.left()), millimetres(m.top()), millimetres(m.right()),
                 millimetres(m.bottom()), paperText);
    return {};
}

int resolutionFromText(const QString& text)
{
    static const QRegularExpression dpi(QStringLiteral(R"(^\s*(\d+)(?:x(\d+))?dpi)"));
    const auto match = dpi.match(text);
    if (!match.hasMatch())
        return 0;
    return (match.hasCaptured(2) ? match.captured(2) : match.captured(1)).toInt();
}
