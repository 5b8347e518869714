// Writes the program's icon as PNG files in the freedesktop icon-theme layout:
// iconexport FOLDER NAME SIDE... gives FOLDER/SIDExSIDE/apps/NAME.png for each side.
#include "window/appicon.h"

#include <cstdio>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

namespace {

bool writeIcon(const QIcon& icon, const QString& folder, const QString& name, int side)
{
    const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder, QString::number(side));
    const QString file = sizeFolder + u'/' + name + QStringLiteral(".png");
    const QPixmap pixmap = icon.pixmap(side);
    if (pixmap.size() != QSize(side, side) || !QDir().mkpath(sizeFolder) ||
        !pixmap.save(file, "PNG")) {
        std::fprintf(stderr, "iconexport: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: iconexport FOLDER NAME SIDE...\n");
        return 2;
    }
    const QIcon icon = barcodeIcon();
    for (const QString& side : arguments.sliced(3))
        if (!writeIcon(icon, arguments[1], arguments[2], side.toInt()))
            return 1;
    return 0;
}
