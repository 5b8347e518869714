// Label geometry and composition: the settings in layout pixels, the logo and the composed
// records of one sheet.
#include "labels/labelprinter.h"

#include "labels/labelline.h"
#include "labels/logofile.h"
#include "labels/texts.h"
#include "platform/apperror.h"
#include "platform/files/ansicodec.h"
#include "platform/rounding.h"

#include <QFile>

void LabelPrinter::ParametryNalepki()
{
    geometry = geometryOf(settings);
    WzIdent = settings.WzorIdS;

    if (settings.ZLogoB)
        loadLogo();
}

PageGrid LabelPrinter::pageGrid() const
{
    return {settings.IlKol,    settings.IlWie,    geometry.PixSzerN,  geometry.PixWysN,
            geometry.PixMargL, geometry.PixMargG, geometry.PixMargMI, geometry.PixMargMO};
}

void LabelPrinter::loadLogo()
{
    Logo = QImage();
    QFile file(settings.Path);
    if (!file.open(QIODevice::ReadOnly)) {
        BrakPliku(settings.Path, Logo);
        return;
    }
    switch (readLogo(file, Logo)) {
    case LogoRead::Whole:
        return;
    case LogoRead::CutShort:
        // Like a missing logo: the labels print with the name, not with a black block.
        switchLogoOff(
            QStringLiteral("Plik z logo %1 jest niepełny (ucięty) albo uszkodzony - naklejki "
                           "drukują się bez logo, dopóki nie zostanie zastąpiony "
                           "całym plikiem")
                .arg(settings.Path),
            Logo);
        return;
    case LogoRead::NotAPicture:
        throw AppError(QStringLiteral("Bitmap image is not valid"));
    }
}

void LabelPrinter::BrakPliku(const QString& name, QImage& bmp)
{
    switchLogoOff(QStringLiteral("Brak pliku z logo ") + name, bmp);
}

void LabelPrinter::switchLogoOff(const QString& why, QImage& bmp)
{
    m_services.dialogs->message(
        {why, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error});
    settings.ZLogoB = false; // for the rest of the run; the settings file is not written here
    if (logoSwitchedOff)
        logoSwitchedOff();
    bmp = QImage();
}

void LabelPrinter::RysujNal(bool demo)
{
    queue.usedPlaces = demo ? 0 : settings.usedPlaces();
    composeSheet(0, demo);
}

int LabelPrinter::sheetEnd(int first) const
{
    const int perSheet = pageGrid().places();
    return ((queue.usedPlaces + first) / perSheet + 1) * perSheet - queue.usedPlaces;
}

void LabelPrinter::composeSheet(int first, bool demo)
{
    KasujListeNalepek();
    queue.composedFrom = first;
    const QSize Bmp1(geometry.PixSzerN, geometry.PixWysN);
    KodKresk.setModul(2);
    KodKresk.setRatio(3.0);
    const PageGrid grid = pageGrid();
    const int lineCount = demo ? settings.labelsPerSheet() : int(queue.ListaLini.size());
    const int end = qMin(lineCount, sheetEnd(first));
    queue.ListaNal.reserve(qMax(0, end - first));
    for (int i = first; i < end; ++i) {
        const QString line = demo ? QStringLiteral("999999999999|AB123321BA") : queue.ListaLini[i];
        AktNalepka = &queue.ListaNal.emplace_back();
        if (line.isEmpty())
            continue; // an empty line keeps an empty record
        const QPoint origin = grid.labelOrigin(queue.usedPlaces + i);
        RysNalep(Bmp1, line, settings.NazBib1, settings.NazBib2, origin.x(), origin.y(), demo);
    }
}

void LabelPrinter::RysNalep(QSize Bmp1, const QString& s, const QString& NazBib1,
                            const QString& NazBib2, int xn, int yn, bool)
{
    const LabelLine line = splitLabelLine(s);
    TNalepka& label = *AktNalepka;
    label.NalX = xn;
    KodKresk.setText(line.identifier);
    int MaxY = Bmp1.height();
    WyswNrIdent(Bmp1, MaxY, xn, yn);
    // The whole identifier: a barcode cut short would encode another number than the one
    // printed beside it.
    label.BarCode = AnsiCodec::encode(line.identifier);
    label.Ramka1X = xn;
    label.Ramka1Y = yn;
    label.Ramka2X = xn + geometry.PixSzerN;
    label.Ramka2Y = yn + geometry.PixWysN;

    int NapY = 4;
    if (!settings.BezNazwyB)
        WyswNazBib(Bmp1, NazBib1, NazBib2, NapY, xn, yn);
    if (!settings.BezSygnB)
        WyswSygn(Bmp1, line.callNumber, NapY, xn, yn);

    label.BarH = MaxY - NapY;
    KodKresk.setHeight(label.BarH);
    label.BarT = yn + NapY;
    KodKresk.setTop(NapY);
    KodKresk.setLeft(roundHalfEven((Bmp1.width() - geometry.PixSzerKK) / 2.0));
    label.BarL = xn + KodKresk.Left();
}

void LabelPrinter::WyswNazBib(QSize Bmp1, const QString& NazBib1, const QString& NazBib2, int& NapY,
                              int xn, int yn)
{
    TNalepka& label = *AktNalepka;
    const LabelFont& font = settings.NFont;
    if (settings.ZLogoB) {
        if (Logo.isNull())
            return; // a logo without pixels takes no room and is not drawn
        // The largest size, proportions kept, at most two name lines tall and the label
        // less 16 pixels wide.
        const double h = 2.0 * metrics->textHeight(font, NazBib1);
        const double w = Bmp1.width() - 16;
        const double kW = Logo.width() / w;
        const double kH = Logo.height() / h;
        const double k = kW > kH ? kW : kH;
        label.Logo = Logo;
        label.Logo1X = xn + roundHalfEven((Bmp1.width() - Logo.width() / k) / 2);
        label.Logo1Y = yn + NapY;
        label.Logo2X = label.Logo1X + roundHalfEven(Logo.width() / k);
        label.Logo2Y = yn + NapY + roundHalfEven(Logo.height() / k);
        NapY += roundHalfEven(Logo.height() / k) + 2;
        return;
    }
    const QString joined = NazBib1 + u' ' + NazBib2;
    label.Naz1Y = yn + NapY;
    NapY += metrics->textHeight(font, NazBib1);
    if (metrics->textWidth(font, joined) > Bmp1.width() - 12) {
        label.Naz1 = NazBib1;
        label.Naz2 = NazBib2;
        label.Naz2Y = yn + NapY;
        NapY += metrics->textHeight(font, NazBib2);
    } else {
        label.Naz1 = joined;
    }
    NapY += 2;
}

void LabelPrinter::WyswSygn(QSize, const QString& Sygn, int& NapY, int, int yn)
{
    TNalepka& label = *AktNalepka;
    label.Sygn = Sygn;
    label.SygY = yn + NapY;
    NapY += metrics->textHeight(settings.SFont, Sygn) + 3;
}

void LabelPrinter::WyswNrIdent(QSize, int& MaxY, int, int yn)
{
    TNalepka& label = *AktNalepka;
    label.Numer = formatIdentifier(WzIdent, KodKresk.Text());
    MaxY = geometry.PixWysN - metrics->textHeight(settings.IFont, label.Numer) - 1;
    label.NrY = yn + MaxY;
}
