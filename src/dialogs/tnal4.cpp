#include "dialogs/tnal4.h"

#include "platform/version.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace {

// A face of the box's design where installed, else the desktop's own font.
QFont designFont(const QString& family, int pixelHeight, bool bold = false)
{
    QFont font = QApplication::font();
    if (QFontDatabase::hasFamily(family))
        font.setFamily(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

// A face other than the design's may be wider or taller: it is made smaller until the text
// fits the place the design gives it.
void shrinkToFit(QLabel* label)
{
    QFont font = label->font();
    while (font.pixelSize() > 8) {
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(label->text()) <= label->width() &&
            metrics.height() <= label->height())
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    label->setFont(font);
}

QFont blueTextFont(int pixelHeight)
{
    return designFont(QStringLiteral("NewBrunswick"), pixelHeight);
}

} // namespace

TNal4::TNal4(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setWindowTitle(QStringLiteral("Informacje o programie i jego autorach"));
    setFixedSize(610, 183);
    move(120, 197);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);

    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    addLabel(QStringLiteral("Program ZELK_NAL jest specjalnym modułem przeznaczonym do "
                            "drukowania naklejek "),
             {16, 17, 577, 17}, blueTextFont(15))
        ->setPalette(blue);
    addLabel(QStringLiteral("z kodami kreskowymi na podstawie danych przygotowanych przez system "
                            "ZELK"),
             {38, 40, 533, 17}, blueTextFont(15))
        ->setPalette(blue);
    addLabel(QStringLiteral("MORVALEN - SOFTWARE"), {131, 72, 347, 24},
             designFont(QStringLiteral("Nebraska"), 21, true))
        ->setAlignment(Qt::AlignCenter);
    addLabel(QStringLiteral("Wersja"), {248, 125, 34, 13}, font());
    Label11 = addLabel(programVersionText(), {286, 121, 70, 22}, blueTextFont(19));
    Label11->setAlignment(Qt::AlignCenter);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(267, 149, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QWidget::hide);
    // A box with one button closes on Escape, as a dialog does.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::hide);
}

QLabel* TNal4::addLabel(const QString& text, QRect geometry, const QFont& font)
{
    auto* label = new QLabel(text, this);
    label->setGeometry(geometry);
    label->setFont(font);
    shrinkToFit(label);
    return label;
}

void TNal4::showAbout()
{
    show();
    raise();
    activateWindow();
}
