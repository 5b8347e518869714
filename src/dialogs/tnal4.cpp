#include "dialogs/tnal4.h"

TNal4::TNal4(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    // Not built yet: the texts, fonts and version of the about box.
    setWindowTitle(QStringLiteral("Informacje o programie i jego autorach"));
}

void TNal4::showAbout()
{
    show();
    raise();
}
