// Drawing a composed label on the screen, one layout pixel to one screen pixel, with the tests
// that the texts and the barcode fit.
#include "labels/labelprinter.h"

#include "labels/barfit.h"
#include "labels/labelfault.h"
#include "labels/monochrome.h"
#include "labels/shrinktofit.h"
#include "platform/apperror.h"
#include "platform/files/ansicodec.h"
#include "platform/rounding.h"

#include <cmath>
#include <QPainter>
#include <QScopeGuard>

namespace {

// The space left on each side of a text centred in the label.
int centringOffset(int labelWidth, int textWidth)
{
    return roundHalfEven((labelWidth - textWidth) / 2.0);
}

// The texts, centred in the label, each on its own white background.
class ScreenLabelText {
public:
    ScreenLabelText(QPainter& painter, const TextMetrics& metrics, const TNalepka& label,
                    int labelWidth)
        : m_painter(painter)
        , m_metrics(metrics)
        , m_label(label)
        , m_labelWidth(labelWidth)
    {
    }

    int offset(const LabelFont& font, const QString& text) const
    {
        return centringOffset(m_labelWidth, m_metrics.textWidth(font, text));
    }

    // Draws the text when at least `minOffset` pixels are left on each side; raises `error`
    // otherwise.
    void drawFitting(const LabelFont& font, const QString& text, int y, int minOffset,
                     const QString& error)
    {
        const int off = offset(font, text);
        if (off < minOffset)
            throw AppError(error);
        draw(font, text, off, y);
    }

    void draw(const LabelFont& font, const QString& text, int off, int y)
    {
        const QRect cell(m_label.NalX + off, y, m_metrics.textWidth(font, text),
                         m_metrics.textHeight(font, text));
        m_painter.fillRect(cell, Qt::white);
        m_painter.setFont(screenFont(font));
        m_painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    }

private:
    QPainter& m_painter;
    const TextMetrics& m_metrics;
    const TNalepka& m_label;
    int m_labelWidth;
};

} // namespace

void LabelPrinter::PokazNalepke(const TNalepka& Nalepka, QImage& bmp)
{
    QPainter painter(&bmp);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(Qt::black);

    // The frame: the label's area is cleared to white, with or without an outline.
    const QRect frame(QPoint(Nalepka.Ramka1X, Nalepka.Ramka1Y),
                      QPoint(Nalepka.Ramka2X - 1, Nalepka.Ramka2Y - 1));
    painter.fillRect(frame, settings.BezRamkiB ? Qt::white : Qt::black);
    if (!settings.BezRamkiB)
        painter.fillRect(frame.adjusted(1, 1, -1, -1), Qt::white);

    ScreenLabelText text(painter, *metrics, Nalepka, geometry.PixSzerN);
    if (!settings.BezNazwyB) {
        if (settings.ZLogoB) {
            if (!Nalepka.Logo.isNull())
                painter.drawImage(QRect(QPoint(Nalepka.Logo1X, Nalepka.Logo1Y),
                                        QPoint(Nalepka.Logo2X - 1, Nalepka.Logo2Y - 1)),
                                  Nalepka.Logo);
        } else {
            const QString tooWide =
                QStringLiteral("Nazwa nie mieści się na nalepce - zmniejsz wielkość czcionki");
            text.drawFitting(settings.NFont, Nalepka.Naz1, Nalepka.Naz1Y, 5, tooWide);
            if (!QString(Nalepka.Naz2).remove(u' ').isEmpty())
                text.drawFitting(settings.NFont, Nalepka.Naz2, Nalepka.Naz2Y, 5, tooWide);
        }
    }

    if (!settings.BezSygnB) {
        const auto [font, off] = shrunkToFit(
            settings.SFont, 10, [&](const LabelFont& f) { return text.offset(f, Nalepka.Sygn); });
        text.draw(font, Nalepka.Sygn, off, Nalepka.SygY);
    }

    if (Nalepka.BarH <= minimumBarHeight())
        throw AppError(barsTooLowText());
    KodKresk.setHeight(Nalepka.BarH);
    KodKresk.setTop(Nalepka.BarT);
    KodKresk.setLeft(Nalepka.BarL);
    KodKresk.setText(AnsiCodec::decode(Nalepka.BarCode).remove(u' '));
    RysujBarcode(painter, Nalepka, geometry.PixSzerKK);

    text.drawFitting(
        settings.IFont, Nalepka.Numer, Nalepka.NrY, 10,
        QStringLiteral("Identyfikator nie mieści się na naklejce - zmniejsz wielkość czcionki"));
}

void LabelPrinter::RysujBarcode(QPainter& Canvas, const TNalepka& Nalepka, int PixSzerKK)
{
    // The symbol at its natural size, then stretched into the barcode box, as wide as the space
    // the scanner needs beside the bars allows. Where the surface has more device pixels to a
    // layout pixel, its modules are that many times wider first, so that the stretch spreads
    // whole device pixels.
    const int m0 = KodKresk.Modul();
    const auto restoreModul = qScopeGuard([this, m0] { KodKresk.setModul(m0); });
    KodKresk.setModul(m0 * int(std::ceil(Canvas.device()->devicePixelRatioF())));
    QImage scratch = whiteMonochromeImage({KodKresk.Width(), KodKresk.Height()});
    KodKresk.setTop(0);
    KodKresk.setLeft(0);
    QPainter painter(&scratch);
    KodKresk.DrawBarcode(painter);
    painter.end();
    const int width = stretchedBarsWidth(scratch.width(), KodKresk.Modul(), Nalepka.BarL, PixSzerKK,
                                         {Nalepka.Ramka1X + 1, Nalepka.Ramka2X - 1});
    Canvas.drawImage(
        QRect(centredInBox(Nalepka.BarL, PixSzerKK, width), Nalepka.BarT, width, Nalepka.BarH),
        scratch);
}
