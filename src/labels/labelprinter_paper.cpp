// Drawing a composed label on the printer's page. Every layout pixel is scaled by korppi (the
// printer's dots per inch / 100), texts keep their fonts' point sizes, and the bars are fitted to
// whole printer dots.
#include "labels/labelprinter.h"

#include "labels/barfit.h"
#include "labels/designwidth.h"
#include "labels/labelfault.h"
#include "labels/polishcount.h"
#include "labels/shrinktofit.h"
#include "labels/texts.h"
#include "platform/apperror.h"
#include "platform/files/ansicodec.h"
#include "platform/rounding.h"

#include <QPainter>
#include <QScopeGuard>

namespace {

int scaled(int layoutPixels, double korppi)
{
    return roundHalfEven(layoutPixels * korppi);
}

int dotsPerInch(double korppi)
{
    return roundHalfEven(korppi * 100);
}

// The texts of one label, centred in the label's width on paper, each on a white background.
// Whether a text fits is decided by its design width, the same at every resolution; it is drawn
// where its width on the printer centres it.
class PaperLabelText {
public:
    PaperLabelText(QPainter& canvas, int labelLeft, int labelWidth, int dpi)
        : m_canvas(canvas)
        , m_labelLeft(labelLeft)
        , m_labelWidth(labelWidth)
        , m_dpi(dpi)
    {
    }

    // The space that the text in `font` leaves on each side, by its design width.
    int fitOffset(const LabelFont& font, const QString& text) const
    {
        return roundHalfEven((m_labelWidth - designTextWidth(font.toQFont(), text, m_dpi)) / 2.0);
    }

    // Draws the text when at least one dot is left on each side; otherwise raises `element`,
    // the name of what does not fit.
    void drawFitting(const LabelFont& font, const QString& text, int y, const QString& element)
    {
        if (fitOffset(font, text) < 1)
            throw AppError(element);
        draw(font, text, y);
    }

    // Centred by its width in the printer's font, at least a dot inside the label's edge.
    void draw(const LabelFont& font, const QString& text, int y)
    {
        m_canvas.setFont(font.toQFont());
        const QFontMetrics metrics = m_canvas.fontMetrics();
        const int width = metrics.horizontalAdvance(text);
        const int off = std::max(1, roundHalfEven((m_labelWidth - width) / 2.0));
        const QRect cell(m_labelLeft + off, y, width, metrics.height());
        m_canvas.fillRect(cell, Qt::white);
        m_canvas.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    }

private:
    QPainter& m_canvas;
    int m_labelLeft;
    int m_labelWidth;
    int m_dpi;
};

// Why a symbol of `digits` digits cannot print readably on the label, which holds `most`.
QString barsTooLong(int digits, int most)
{
    const QString text = QStringLiteral(
        "kod kreskowy identyfikatora (%1) nie mieści się czytelnie w ramce naklejki: kreski "
        "węższe niż 0,16 mm są za cienkie dla czytnika, a z każdej strony kodu musi zostać "
        "wolne miejsce na 10 wąskich kresek; ");
    const QString many = QStringLiteral("na tej naklejce mieści się najwyżej %1")
                             .arg(countOf(most, u"cyfra", u"cyfry", u"cyfr"));
    return text.arg(countOf(digits, u"cyfra", u"cyfry", u"cyfr")) +
           (most > 0 ? many : QStringLiteral("na tej naklejce nie mieści się żaden kod"));
}

// A rectangle outlined in black and filled white, right and bottom edges excluded.
void drawBox(QPainter& canvas, QRect box)
{
    canvas.fillRect(box, Qt::black);
    canvas.fillRect(box.adjusted(1, 1, -1, -1), Qt::white);
}

} // namespace

void LabelPrinter::DrukujNalepke(int i, int ppiSzerN, double korppi, bool demo)
{
    const int record = i - queue.composedFrom;
    if (record < 0 || record >= queue.ListaNal.size())
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(i));
    const TNalepka& Nalepka = queue.ListaNal[record];
    QPainter& canvas = printer().canvas();
    const auto at = [korppi](int layoutPixels) { return scaled(layoutPixels, korppi); };

    // The label's content keeps its layout, moved to where the frame stands on the page.
    const QRect frame = frameOnPaper(i);
    const QPoint shift = frame.topLeft() - QPoint(at(Nalepka.Ramka1X), at(Nalepka.Ramka1Y));
    canvas.translate(shift);
    const auto shiftBack = qScopeGuard([&canvas, shift] { canvas.translate(-shift); });
    if (!settings.BezRamkiB)
        drawBox(canvas, frame.translated(-shift));

    PaperLabelText text(canvas, at(Nalepka.NalX), ppiSzerN, dotsPerInch(korppi));
    if (!settings.BezNazwyB) {
        if (settings.ZLogoB) {
            DrukujLogo(canvas, Nalepka, korppi);
        } else {
            const QString element = QStringLiteral("Nazwa");
            text.drawFitting(settings.NFont, Nalepka.Naz1, at(Nalepka.Naz1Y), element);
            if (!QString(Nalepka.Naz2).remove(u' ').isEmpty())
                text.drawFitting(settings.NFont, Nalepka.Naz2, at(Nalepka.Naz2Y), element);
        }
    }

    if (!settings.BezSygnB) {
        const LabelFont font = shrunkToFit(settings.SFont, 1, [&](const LabelFont& f) {
                                   return text.fitOffset(f, Nalepka.Sygn);
                               }).first;
        text.draw(font, Nalepka.Sygn, at(Nalepka.SygY));
    }

    if (Nalepka.BarH <= minimumBarHeight())
        throw UnprintableLabel(barsTooLowText());
    KodKresk.setText(AnsiCodec::decode(Nalepka.BarCode).remove(u' '));
    DrukujBarcode(canvas, Nalepka, geometry.PixSzerKK, korppi, demo);

    text.drawFitting(settings.IFont, Nalepka.Numer, at(Nalepka.NrY),
                     QStringLiteral("Identyfikator"));
}

// What of a label's own text cannot print on paper: its call number, too wide even at the
// smallest size (where nobody is asked), or its barcode. Empty when it prints. Measured on the open
// sheet; nothing is drawn.
QString LabelPrinter::paperTextFault(const TNalepka& Nalepka, int ppiSzerN, double korppi)
{
    PaperLabelText text(printer().canvas(), 0, ppiSzerN, dotsPerInch(korppi));
    const auto offset = [&](const LabelFont& f) { return text.fitOffset(f, Nalepka.Sygn); };
    if (!asksQuestions() && !settings.BezSygnB && shrunkToFit(settings.SFont, 1, offset).second < 1)
        return QStringLiteral("sygnatura nie mieści się na naklejce");
    const int m0 = KodKresk.Modul();
    const auto restoreModul = qScopeGuard([this, m0] { KodKresk.setModul(m0); });
    try {
        KodKresk.setText(AnsiCodec::decode(Nalepka.BarCode).remove(u' '));
        fitBarcodeOnPaper(Nalepka, geometry.PixSzerKK, korppi);
    } catch (const AppError& error) {
        return error.text();
    }
    return {};
}

// Places the symbol in the record's box on paper and returns its width. The narrow element
// becomes a whole number of printer dots that fills the box best, as far as the barcode's limit
// and the space the scanner needs beside the bars allow, and never finer than a scanner reads;
// the caller puts Modul back. Raises UnprintableLabel when the symbol cannot keep both inside the
// label's frame.
int LabelPrinter::fitBarcodeOnPaper(const TNalepka& Nalepka, int PixSzerKK, double korppi)
{
    KodKresk.setHeight(scaled(Nalepka.BarH, korppi));
    KodKresk.setLeft(scaled(Nalepka.BarL, korppi));
    KodKresk.setTop(scaled(Nalepka.BarT, korppi));
    const int w0 = KodKresk.Width();
    const int target = scaled(PixSzerKK, korppi);
    KodKresk.setModul(roundHalfEven(double(KodKresk.Modul()) * target / w0));
    const FrameInside inside{scaled(Nalepka.Ramka1X, korppi) + 1,
                             scaled(Nalepka.Ramka2X, korppi) - 1};
    const int finest = finestModul(dotsPerInch(korppi));
    if (!fitBarsOnPaper(KodKresk, KodKresk.Left(), target, inside, finest))
        throw UnprintableLabel(
            barsTooLong(int(KodKresk.Text().size()),
                        mostDigitsFitting(KodKresk, KodKresk.Left(), target, inside, finest)));
    return KodKresk.Width();
}

void LabelPrinter::DrukujBarcode(QPainter& Canvas, const TNalepka& Nalepka, int PixSzerKK,
                                 double korppi, bool demo)
{
    const int m0 = KodKresk.Modul();
    const auto restoreModul = qScopeGuard([this, m0] { KodKresk.setModul(m0); });
    const int w1 = fitBarcodeOnPaper(Nalepka, PixSzerKK, korppi);

    if (demo)
        drawBox(Canvas, QRect(KodKresk.Left(), KodKresk.Top(), w1, KodKresk.Height()));
    else
        KodKresk.DrawBarcode(Canvas);
}

void LabelPrinter::DrukujLogo(QPainter& Canvas, const TNalepka& Nalepka, double korppi)
{
    if (Nalepka.Logo.isNull())
        return;
    const QRect target(scaled(Nalepka.Logo1X, korppi), scaled(Nalepka.Logo1Y, korppi),
                       scaled(Nalepka.Logo2X - Nalepka.Logo1X, korppi),
                       scaled(Nalepka.Logo2Y - Nalepka.Logo1Y, korppi));
    Canvas.drawImage(target, Nalepka.Logo);
}

void LabelPrinter::DlugiNapis(const QString& txt)
{
    m_runFailure = txt + QStringLiteral(" nie mieści się na wydruku - zmniejsz wielkość czcionki");
    m_services.dialogs->message(
        {m_runFailure, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error});
    MorvalenDefaultPrinter& installed = printer();
    if (installed.printing())
        installed.abort();
}
