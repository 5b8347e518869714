#include "labels/settings.h"

#include <QFontDatabase>
#include <QHash>

namespace {

// Asking fontconfig costs more than drawing a label; the fonts installed do not change while
// the program runs.
bool installed(const QString& family)
{
    static QHash<QString, bool> known;
    const auto found = known.constFind(family);
    if (found != known.cend())
        return *found;
    return *known.insert(family, QFontDatabase::hasFamily(family));
}

// The settings of Windows installations name Windows' core faces. They are drawn with their
// metric-compatible free counterparts where installed, so that a label keeps its layout: the
// font that fontconfig would otherwise pick for "Courier" is a few pixels taller, enough to
// squeeze the barcode of a default label below its minimum height.
QString drawingFamily(const QString& face)
{
    static const struct {
        const char* windows;
        const char* compatible;
    } counterparts[] = {{"Courier", "Liberation Mono"},
                        {"Courier New", "Liberation Mono"},
                        {"Arial", "Liberation Sans"},
                        {"Times New Roman", "Liberation Serif"}};
    for (const auto& [windows, compatible] : counterparts) {
        if (face.compare(QLatin1String(windows), Qt::CaseInsensitive) == 0 &&
            installed(QLatin1String(compatible)))
            return QLatin1String(compatible);
    }
    return face;
}

} // namespace

QFont LabelFont::toQFont() const
{
    QFont font(drawingFamily(name));
    font.setPointSize(qMax(1, size));
    font.setUnderline(underline);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}
