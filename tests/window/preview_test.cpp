#include "fixedtextmetrics.h"
#include "labels/monochrome.h"
#include "labels/screentextmetrics.h"
#include "labels/texts.h"
#include "mainwindowfixture.h"
#include "platform/files/profilefile.h"

#include "window/pageimage.h"
#include <cmath>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#define ZX_USE_UTF8 // text() as UTF-8
#include <ZXing/ReadBarcode.h>

namespace {

// Distinct identifiers of `digits` digits.
QString distinctIdentifier(int index, int digits)
{
    const qint64 first = qint64(std::pow(10, digits - 1));
    return QString::number(first + index * (first / 6 + 373));
}

QStringList lines(int count, int digits = 12)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result << distinctIdentifier(i, digits) + QStringLiteral("|II %1").arg(i);
    return result;
}

// What an independent reader makes of the bars in a label's barcode box, quiet zones included,
// at the page's own pixels.
QString decodeBarcode(const QImage& page, const TNalepka& label)
{
    const qreal ratio = page.devicePixelRatio();
    const QRectF area(label.BarL - 20, label.BarT, 184 + 40, label.BarH);
    const QImage box = page.copy(QRectF(area.topLeft() * ratio, area.size() * ratio).toRect())
                           .convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::ITF);
    hints.setTryHarder(true);
    const ZXing::ImageView view(box.constBits(), box.width(), box.height(), ZXing::ImageFormat::Lum,
                                int(box.bytesPerLine()));
    const ZXing::Results results = ZXing::ReadBarcodes(view, hints);
    return results.empty() ? QString() : QString::fromStdString(results.front().text());
}

class Preview : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
        measureWithFixedMetrics(labels());
        dialogs.clear();
    }

    LabelPrinter& labels() const { return window->labels(); }
    const TNalepka& label(int index) const { return labels().queue.ListaNal.at(index); }
    // Lays out the queue (the given lines) as showing the window does, and shows it.
    void show(const QStringList& queued)
    {
        labels().queue.ListaLini = queued;
        window->ParametryNalepki();
        labels().RysujNal(false);
        window->PokazStrone();
    }
    QRect area(int index) const
    {
        return {labels().pageGrid().labelOrigin(index), QSize(234, 115)};
    }
    bool drawn(int index) const { return !isWhite(window->pageBitmap, area(index)); }
    // Real fonts at their default sizes, and a name that fits on one line.
    void measureOnScreen()
    {
        labels().metrics = std::make_unique<ScreenTextMetrics>();
        labels().settings.NFont = labels().settings.SFont = labels().settings.IFont = LabelFont();
        labels().settings.NazBib1 = QStringLiteral("Biblioteka");
        labels().settings.NazBib2 = QStringLiteral("Miejska");
    }
};

TEST_F(Preview, DrawsTheQueuedLabelsOfTheFirstSheet)
{
    show(lines(5));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(drawn(i)) << i;
    for (int i = 5; i < 24; ++i)
        EXPECT_FALSE(drawn(i)) << i;
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(Preview, EmptyQueueShowsAWhiteSheetInTheScrollBox)
{
    window->ScrollBox1->resize(300, 200);
    show({});
    EXPECT_EQ(window->pageBitmap.size(), QSize(797, 1148));
    EXPECT_EQ(window->pageBitmap.format(), QImage::Format_Mono);
    EXPECT_TRUE(isWhite(window->pageBitmap, window->pageBitmap.rect()));
    ASSERT_NE(window->Image, nullptr);
    EXPECT_EQ(window->ScrollBox1->widget(), static_cast<QWidget*>(window->Image));
    EXPECT_EQ(window->Image->size(), QSize(827, 1178));
    EXPECT_EQ(window->Image->contentsRect().topLeft(), QPoint(15, 15));
}

// On a high-density screen a label is drawn at the screen's device pixels: the same layout in
// window pixels, bars that still read, and no 1x picture made bigger.
// Dashes mark the paper's edge where it falls on the sheet: A4's right edge lies 826.8 layout
// pixels from the printable area's corner, across labels of 70 mm.
TEST_F(Preview, ThePapersEdgeIsDrawnWhereItFallsOnTheSheet)
{
    labels().settings.SzerNalI = 70;
    show({});
    EXPECT_FALSE(isWhite(window->pageBitmap, QRect(827, 0, 1, 6)));
    EXPECT_TRUE(isWhite(window->pageBitmap, QRect(827, 6, 1, 4)));
    EXPECT_TRUE(isWhite(window->pageBitmap, QRect(0, 0, 827, 19))) << "nothing else above labels";
}

TEST_F(Preview, DrawsAtTheScreensDevicePixelRatio)
{
    measureOnScreen();
    show(lines(1));
    const QSize layout = labels().pageGrid().pageSize();
    for (qreal ratio : {1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage page = whiteMonochromeImage(layout, ratio);
        labels().PokazNalepke(label(0), page);
        EXPECT_EQ(page.deviceIndependentSize().toSize(), layout);
        EXPECT_EQ(decodeBarcode(page, label(0)), distinctIdentifier(0, 12));
        EXPECT_NE(page, window->pageBitmap.scaled(page.size()));
    }
}

TEST_F(Preview, FirstLabelThatDoesNotFitIsReportedOnce)
{
    const struct {
        std::function<void(LabelPrinter&)> change;
        QString message;
    } cases[] = {
        {[](LabelPrinter& w) { w.settings.IFont.size = 60; },
         "Identyfikator nie mieści się na naklejce - zmniejsz wielkość czcionki"},
        {[](LabelPrinter& w) {
             QStringList lines = w.queue.ListaLini;
             lines[0] = QStringLiteral("12345678901A|II");
             w.queue.ListaLini = lines;
         },
         "Range check error"},
    };
    for (const auto& c : cases) {
        dialogs.clear();
        labels().queue.ListaLini = lines(24);
        c.change(labels());
        window->ParametryNalepki();
        labels().RysujNal(false);
        window->PokazStrone();
        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_EQ(dialogs.shown()[0], (Message{c.message, Texts::messageCaption(),
                                               MessageButtons::Ok, MessageIcon::Error}));
        EXPECT_TRUE(drawn(0));
        for (int i = 1; i < 24; ++i)
            EXPECT_FALSE(drawn(i)) << i;
    }
}

TEST_F(Preview, ShowingTheWindowShowsTheFirstSheetFromTheTop)
{
    labels().queue.ListaLini = lines(24);
    window->ScrollBox1->resize(300, 200);
    window->show();
    EXPECT_TRUE(drawn(0));
    EXPECT_TRUE(drawn(23));
    window->ScrollBox1->verticalScrollBar()->setValue(300);
    window->hide();
    window->show();
    EXPECT_EQ(window->ScrollBox1->verticalScrollBar()->value(), 0);
    EXPECT_EQ(window->ScrollBox1->verticalScrollBar()->maximum(),
              1148 + 30 - window->ScrollBox1->viewport()->height());
}

// An independent reader gets every identifier back from the preview, however many digits.
TEST_F(Preview, EveryBarcodeOfASheetDecodes)
{
    measureOnScreen();
    for (int digits : {6, 12, 14}) {
        labels().settings.WzorIdS = QString(digits, u'9');
        show(lines(24, digits));
        EXPECT_TRUE(dialogs.shown().isEmpty());
        for (int i = 0; i < 24; ++i)
            EXPECT_EQ(decodeBarcode(window->pageBitmap, label(i)), distinctIdentifier(i, digits))
                << digits << " digits, label " << i;
    }
}

TEST_F(Preview, ClearedSheetShowsOnlyTheLabelsThatRemain)
{
    measureOnScreen();
    show(lines(48));
    labels().queue.ListaLini.removeFront(24); // as a print run takes the first sheet off
    labels().RysujNal(false);
    window->clearPage();
    window->PokazStrone();
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(decodeBarcode(window->pageBitmap, label(i)), distinctIdentifier(24 + i, 12)) << i;
}

// The sheet in the printer is used up to its first free place: the preview hatches the places
// before it, names it, and a click on a cell of the sheet moves it there.
TEST_F(Preview, ThePlacesUsedAlreadyAreHatchedAndAClickMovesTheFirstFreePlace)
{
    labels().settings.PierwszaWolna = 7;
    show(lines(18));
    for (int i = 0; i < 24; ++i)
        EXPECT_TRUE(drawn(i)) << i;
    EXPECT_FALSE(isWhite(window->pageBitmap, area(0).adjusted(1, 1, -1, -1))) << "hatched";
    EXPECT_EQ(label(0).Ramka1X, area(6).x());
    EXPECT_EQ(label(0).Ramka1Y, area(6).y());
    EXPECT_EQ(window->StatusBar1->currentMessage(), QStringLiteral("Pierwsza wolna naklejka: 7"));

    const QPoint cellTen = area(9).center() + QPoint(15, 15); // the image's margin
    QTest::mouseClick(window->Image, Qt::LeftButton, {}, cellTen);
    EXPECT_EQ(labels().settings.PierwszaWolna, 10);
    EXPECT_EQ(ProfileFile(labels().paths.settingsFile())
                  .readInteger(u"Sposób Wydruku", u"Pierwsza Wolna", 0),
              10);
    EXPECT_EQ(label(0).Ramka1Y, area(9).y());
    EXPECT_EQ(labels().queue.ListaNal.size(), 15);
    EXPECT_EQ(window->StatusBar1->currentMessage(), QStringLiteral("Pierwsza wolna naklejka: 10"));

    QTest::mouseClick(window->Image, Qt::LeftButton, {}, area(0).center() + QPoint(15, 15));
    EXPECT_EQ(labels().settings.PierwszaWolna, 1);
    EXPECT_FALSE(drawn(23)) << "18 labels from the first place";
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

// What fills the sheet in the printer is a full sheet for the tick.
TEST_F(Preview, TheTickShowsTheFreePlacesFilled)
{
    labels().settings.PierwszaWolna = 7;
    labels().queue.ListaLini = lines(17);
    window->Timer1Timer();
    EXPECT_FALSE(window->isVisible());
    labels().queue.ListaLini += lines(1);
    window->Timer1Timer();
    EXPECT_TRUE(window->isVisible());
}

} // namespace
