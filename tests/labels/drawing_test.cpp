#include "labelfixture.h"
#include "labels/monochrome.h"
#include "platform/apperror.h"

namespace {

const QString nameTooWide =
    QStringLiteral("Nazwa nie mieści się na nalepce - zmniejsz wielkość czcionki");
const QString barcodeTooLow =
    QStringLiteral("Kod kreskowy jest zbyt niski - zmniejsz wielkość napisów");
const QString identifierTooWide =
    QStringLiteral("Identyfikator nie mieści się na naklejce - zmniejsz wielkość czcionki");

class Drawing : public LabelFixture {
protected:
    void SetUp() override
    {
        LabelFixture::SetUp();
        labels->settings.NazBib1 = QStringLiteral("Biblioteka");
        compose({QStringLiteral("123456789012|II 4567")});
        record = label(0);
        page = whiteMonochromeImage(labels->pageGrid().pageSize());
    }

    // The error text of drawing `record`, empty when it was drawn.
    QString draw()
    {
        try {
            labels->PokazNalepke(record, page);
        } catch (const AppError& error) {
            return error.text();
        }
        return {};
    }

    QRect barcodeBox() const { return {record.BarL, record.BarT, 184, record.BarH}; }
    QRect identifierLine() const { return {record.NalX + 1, record.NrY, 232, 14}; }
    bool black(int x, int y) const { return page.pixelIndex(x, y) == 1; }

    TNalepka record;
    QImage page;
};

TEST_F(Drawing, NameNeedsFivePixelsOnEachSide)
{
    labels->settings.NFont.size = 2; // one pixel per character
    const struct {
        int naz1, naz2;
        QString error;
    } cases[] = {
        {224, 0, ""},  {225, 0, nameTooWide},  {226, 0, nameTooWide},
        {10, 224, ""}, {10, 226, nameTooWide},
    };
    for (const auto& c : cases) {
        record.Naz1 = QString(c.naz1, u'N');
        record.Naz2 = QString(c.naz2, u'M');
        EXPECT_EQ(draw(), c.error) << c.naz1 << " " << c.naz2;
    }
    record.Naz1 = QStringLiteral("N");
    record.Naz2 = QString(300, u' '); // blanks only: neither tested nor drawn
    EXPECT_EQ(draw(), "");
}

TEST_F(Drawing, IdentifierNeedsTenPixelsOnEachSide)
{
    labels->settings.IFont.size = 2;
    const std::pair<int, QString> cases[] = {{214, ""}, {215, ""}, {216, identifierTooWide}};
    for (const auto& [length, error] : cases) {
        record.Numer = QString(length, u'9');
        EXPECT_EQ(draw(), error) << length;
    }
}

TEST_F(Drawing, BarcodeNeedsMoreThanTenRows)
{
    record.NrY = record.BarT + 10;
    record.BarH = 10;
    EXPECT_EQ(draw(), barcodeTooLow);
    EXPECT_TRUE(isWhite(page, barcodeBox()));

    record.BarH = 11;
    EXPECT_EQ(draw(), "");
    EXPECT_FALSE(isWhite(page, barcodeBox()));
}

TEST_F(Drawing, AFailingElementKeepsWhatWasDrawnBeforeIt)
{
    record.Naz1 = QString(60, u'N');
    EXPECT_EQ(draw(), nameTooWide);
    EXPECT_TRUE(black(record.Ramka1X, record.Ramka1Y));
    EXPECT_TRUE(isWhite(page, barcodeBox()));

    record = label(0);
    record.Numer = QString(40, u'9');
    EXPECT_EQ(draw(), identifierTooWide);
    EXPECT_FALSE(isWhite(page, barcodeBox()));
    EXPECT_TRUE(isWhite(page, identifierLine()));
}

TEST_F(Drawing, CallNumberShrinksForThisLabelOnly)
{
    record.Sygn = QString(40, u'S'); // 240 pixels at 12 points, 220 at 11, 200 at 10
    for (int drawing = 0; drawing < 2; ++drawing) {
        metrics->widthQueries.clear();
        EXPECT_EQ(draw(), "");
        QList<int> sizes;
        for (const auto& [size, text] : metrics->widthQueries) {
            if (text == record.Sygn)
                sizes << size;
        }
        EXPECT_EQ(sizes.first(), 12);
        EXPECT_EQ(sizes.last(), 10);
    }
}

TEST_F(Drawing, CallNumberShrinksToOnePointAtMost)
{
    record.Sygn = QString(1000, u'S');
    EXPECT_EQ(draw(), "");
    int smallest = 12;
    for (const auto& [size, text] : metrics->widthQueries)
        smallest = qMin(smallest, size);
    EXPECT_EQ(smallest, 1);
}

TEST_F(Drawing, FrameOutlinesTheLabelAndClearsIt)
{
    page.fill(1);
    EXPECT_EQ(draw(), "");
    const QRect frame(QPoint(record.Ramka1X, record.Ramka1Y),
                      QPoint(record.Ramka2X - 1, record.Ramka2Y - 1));
    for (QPoint corner :
         {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()})
        EXPECT_TRUE(black(corner.x(), corner.y()));
    EXPECT_TRUE(isWhite(page, QRect(frame.left() + 1, frame.top() + 1, 10, 3)));
    EXPECT_TRUE(black(record.Ramka2X, record.Ramka2Y)); // outside: untouched

    labels->settings.BezRamkiB = true;
    page.fill(1);
    EXPECT_EQ(draw(), "");
    for (QPoint corner : {frame.topLeft(), frame.bottomRight()})
        EXPECT_FALSE(black(corner.x(), corner.y()));
    EXPECT_TRUE(black(record.Ramka2X, record.Ramka2Y));
}

TEST_F(Drawing, LogoIsStretchedIntoItsBoxUnlessTheNameIsOff)
{
    QImage logo(200, 50, QImage::Format_RGB32);
    logo.fill(Qt::black);
    labels->settings.ZLogoB = true;
    labels->Logo = logo;
    record.Logo = logo;
    record.Logo1X = 65;
    record.Logo1Y = 23;
    record.Logo2X = 193;
    record.Logo2Y = 55;
    record.Naz1 = QString(500, u'N'); // not drawn with a logo
    EXPECT_EQ(draw(), "");
    EXPECT_TRUE(black(65, 23));
    EXPECT_TRUE(black(192, 54));
    EXPECT_FALSE(black(193, 40));
    EXPECT_FALSE(black(100, 55));

    labels->settings.BezNazwyB = true;
    EXPECT_EQ(draw(), "");
    EXPECT_TRUE(isWhite(page, QRect(QPoint(65, 23), QPoint(192, 40)))); // to SygY
}

} // namespace
