// The label stock in the settings dialog: the button that opens the chooser, the sheet it
// chooses, and the hand edits of the sheet's boxes, which leave the stock for whole millimetres.
#include "dialogs/commandbutton.h"
#include "dialogs/spinedit.h"
#include "dialogs/stockchooser.h"
#include "dialogs/tnal2.h"
#include "labels/stocksettings.h"
#include "window/tnal1.h"

#include <QGroupBox>

void TNal2::buildStockButton(QGroupBox* group)
{
    // Beside the label's size, in the room before the font group.
    ArkuszBut = new CommandButton(QStringLiteral("Arkusz naklejek…"), group);
    ArkuszBut->setGeometry(312, 18, 130, 25);
}

void TNal2::connectStockHandlers()
{
    for (SpinEdit* box :
         {SzerNalep, WysNalep, IloscKolumn, IloscNalKol, MargG, MargL, MargMO, MargMI})
        connect(box, &SpinEdit::changed, this, [this] {
            if (!Creating)
                m_labels.settings.stock.reset();
        });
    connect(ArkuszBut, &QPushButton::clicked, this, m_main.guard().wrap([this] { chooseStock(); }));
}

void TNal2::chooseStock()
{
    StockChooser chooser(m_labels, StockCatalogue::read(), this);
    if (chooser.exec() == QDialog::Accepted)
        if (const std::optional<LabelStock> stock = chooser.chosen())
            applyStock(*stock);
}

void TNal2::applyStock(const LabelStock& stock)
{
    Settings sheet = m_labels.settings;
    useStock(sheet, stock);
    const std::pair<SpinEdit*, int> boxes[] = {
        {SzerNalep, sheet.SzerNalI}, {WysNalep, sheet.WysNalI}, {IloscKolumn, sheet.IlKol},
        {IloscNalKol, sheet.IlWie},  {MargG, sheet.MargGI},     {MargL, sheet.MargLI},
        {MargMO, sheet.MargMOI},     {MargMI, sheet.MargMII}};
    for (const auto& [box, value] : boxes)
        box->setClampedValue(value);
    // The boxes' handlers leave some values to the commit (a height of 10 mm); the stock's sheet
    // holds at once.
    useStock(m_labels.settings, stock);
    PodgladNal();
}
