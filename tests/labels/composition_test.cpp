#include "labelfixture.h"
#include "labels/labelline.h"
#include "labels/pagegrid.h"
#include "labels/texts.h"
#include "platform/apperror.h"

#include <QFile>
#include <QLabel>
#include <QScrollArea>

namespace {

const QString line = QStringLiteral("123456789012|II 4567");

TEST(PageGridTest, FillsRowByRowAndWrapsAfterASheet)
{
    const PageGrid grid{3, 8, 234, 115, 12, 19, 35, 27};
    const std::pair<int, QPoint> cases[] = {{0, {12, 19}},  {1, {281, 19}},  {2, {550, 19}},
                                            {3, {12, 161}}, {5, {550, 161}}, {23, {550, 1013}},
                                            {24, {12, 19}}, {29, {550, 161}}};
    for (auto [index, origin] : cases)
        EXPECT_EQ(grid.labelOrigin(index), origin) << index;
    EXPECT_EQ(grid.pageSize(), QSize(797, 1148));
    EXPECT_EQ((PageGrid{1, 1, 234, 115, 12, 19, 35, 27}.pageSize()), QSize(259, 154));
    EXPECT_THROW((PageGrid{0, 8, 234, 115, 12, 19, 35, 27}.labelOrigin(0)), AppError);
}

TEST(LabelLineTest, SplitsAtTheFirstBar)
{
    const struct {
        QString line, identifier, callNumber;
    } cases[] = {
        {"123456789012|II 4567", "123456789012", "II 4567"},
        {"12|  A|B  ", "12", "A|B"},
        {"|II 1", "", "II 1"},
        {"no bar at all", "", "no bar at all"},
        {"1|" + QString(120, u'x'), "1", QString(100, u'x')},
        {QString(120, u'y'), "", QString(100, u'y')},
    };
    for (const auto& c : cases) {
        const LabelLine split = splitLabelLine(c.line);
        EXPECT_EQ(split.identifier, c.identifier) << c.line.toStdString();
        EXPECT_EQ(split.callNumber, c.callNumber) << c.line.toStdString();
    }
}

// Spaces and control characters are the ASCII blank and the C0 controls, U+0000 to U+0020; other
// blanks and controls belong to the call number.
TEST(LabelLineTest, CallNumberLosesSpacesAndC0ControlsAtItsEnds)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("1|\u0001II 1\u001F"), QStringLiteral("II 1")},
        {QStringLiteral("1|\u0000\t\r\n II 1 \u000B\u000C"), QStringLiteral("II 1")},
        {QStringLiteral("1|\u00A0II 1\u3000"), QStringLiteral("\u00A0II 1\u3000")},
        {QStringLiteral("1|\u0085II 1\u2003"), QStringLiteral("\u0085II 1\u2003")},
        {QStringLiteral("1|\u007FII 1\u007F"), QStringLiteral("\u007FII 1\u007F")},
    };
    for (const auto& [line, callNumber] : cases)
        EXPECT_EQ(splitLabelLine(line).callNumber, callNumber) << line.toStdString();
}

TEST(LabelLineTest, IdentifierFillsThePlaceholdersOfThePattern)
{
    const struct {
        QString pattern, identifier, text;
    } cases[] = {
        {"999-999999-99-9", "123456789012", "123-456789-01-2"},
        {"999-999999-99-9", "12345678901", "za mało cyfr!"},
        {"999-999999-99-9", "1234567890123", "za dużo cyfr!"},
        {"999-999999-99-9", "", "za mało cyfr!"},
        {"99/99", "1234", "12/34"},
        {"99/99", "AB C", "AB/ C"},
        {"", "", ""},
        {"", "1", "za dużo cyfr!"},
        {"abc", "1", "za dużo cyfr!"},
        {"abc", "", "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatIdentifier(c.pattern, c.identifier), c.text)
            << c.pattern.toStdString() << " " << c.identifier.toStdString();
}

using Composition = LabelFixture;

TEST_F(Composition, GeometryIsInLayoutPixelsAndThePageHoldsOneSheet)
{
    compose({});
    const PixelGeometry& g = labels->geometry;
    EXPECT_EQ((QList<int>{g.PixSzerN, g.PixWysN, g.PixMargL, g.PixMargG, g.PixMargMI, g.PixMargMO,
                          g.PixSzerKK}),
              (QList<int>{234, 115, 12, 19, 35, 27, 184}));
    EXPECT_EQ(labels->pageGrid().pageSize(), QSize(797, 1148));
    EXPECT_EQ(labels->WzIdent, labels->settings.WzorIdS);
}

TEST_F(Composition, LabelRecordCarriesTextsAndPositions)
{
    labels->settings.NazBib1 = QStringLiteral("Biblioteka");
    labels->settings.NazBib2 = QStringLiteral("Miejska");
    compose(QStringList(6, line));
    ASSERT_EQ(labels->queue.ListaNal.size(), 6);
    const TNalepka& first = label(0);
    EXPECT_EQ(first.Naz1, "Biblioteka Miejska");
    EXPECT_EQ(first.Naz2, "");
    EXPECT_EQ(first.Sygn, "II 4567");
    EXPECT_EQ(first.Numer, "123-456789-01-2");
    EXPECT_EQ(first.BarCode, "123456789012");
    EXPECT_EQ(first.NalX, 12);
    EXPECT_EQ((QList<int>{first.Naz1Y, first.Naz2Y, first.SygY, first.NrY}),
              (QList<int>{23, 0, 41, 119}));
    EXPECT_EQ((QList<int>{first.Ramka1X, first.Ramka1Y, first.Ramka2X, first.Ramka2Y}),
              (QList<int>{12, 19, 246, 134}));
    EXPECT_EQ((QList<int>{first.BarT, first.BarH, first.BarL}), (QList<int>{56, 63, 37}));
    EXPECT_EQ(first.BarT + first.BarH, first.NrY);
    EXPECT_TRUE(first.Logo.isNull());

    const TNalepka& fifth = label(5);
    EXPECT_EQ(QPoint(fifth.NalX, fifth.Ramka1Y), QPoint(550, 161));
    EXPECT_EQ(fifth.BarL, 575);
    EXPECT_EQ(labels->KodKresk.Modul(), 2);
    EXPECT_EQ(labels->KodKresk.Ratio(), 3.0);
}

TEST_F(Composition, NameTakesTwoLinesOnlyWhenWiderThanTheLabelLessTwelve)
{
    labels->settings.NFont.size = 2; // one pixel per character
    labels->settings.NazBib1 = QString(100, u'a');
    for (int joinedWidth : {222, 223}) {
        labels->settings.NazBib2 = QString(joinedWidth - 101, u'b');
        compose({line});
        const TNalepka& first = label(0);
        if (joinedWidth == 222) {
            EXPECT_EQ(first.Naz1, labels->settings.NazBib1 + u' ' + labels->settings.NazBib2);
            EXPECT_EQ(first.Naz2Y, 0);
            EXPECT_EQ(first.SygY, 19 + 8);
        } else {
            EXPECT_EQ(first.Naz1, labels->settings.NazBib1);
            EXPECT_EQ(first.Naz2, labels->settings.NazBib2);
            EXPECT_EQ((QList<int>{first.Naz1Y, first.Naz2Y, first.SygY}), (QList<int>{23, 25, 29}));
        }
    }
}

TEST_F(Composition, BarcodeTakesTheHeightThatIsLeft)
{
    labels->settings.BezNazwyB = true;
    labels->settings.BezSygnB = true;
    compose({line});
    EXPECT_EQ(label(0).BarT, 19 + 4);
    EXPECT_EQ(label(0).BarH, 96);
    EXPECT_TRUE(label(0).Naz1.isEmpty());
    EXPECT_TRUE(label(0).Sygn.isEmpty());

    labels->settings.BezNazwyB = false;
    labels->settings.BezSygnB = false;
    labels->settings.NFont.size = 60;
    compose({line});
    EXPECT_EQ(label(0).BarH, 100 - (4 + 62 + 15)); // small, and not refused here
}

TEST_F(Composition, BarcodeKeepsTheWholeIdentifier)
{
    labels->settings.WzorIdS = QString(14, u'9');
    compose({"12345678901234|II 1", "no bar", "12345|x"});
    EXPECT_EQ(label(0).Numer, "12345678901234");
    EXPECT_EQ(label(0).BarCode, "12345678901234");
    EXPECT_EQ(label(1).Numer, "za mało cyfr!");
    EXPECT_EQ(label(1).BarCode, "");
    EXPECT_EQ(label(1).Sygn, "no bar");
    EXPECT_EQ(label(2).Numer, "za mało cyfr!");
    EXPECT_EQ(label(2).BarCode, "12345");
}

TEST_F(Composition, TestPageIsAFullSheetOfSamples)
{
    compose({line});
    labels->RysujNal(true);
    ASSERT_EQ(labels->queue.ListaNal.size(), 24);
    EXPECT_EQ(label(23).Numer, "999-999999-99-9");
    EXPECT_EQ(label(23).Sygn, "AB123321BA");
    EXPECT_EQ(label(23).NalX, 550);
    EXPECT_EQ(label(23).Ramka1Y, 1013);
}

TEST_F(Composition, LogoIsScaledIntoTwoNameLinesAndCentred)
{
    QImage logo(200, 50, QImage::Format_RGB32);
    logo.fill(Qt::black);
    const QString path = programDir() + QStringLiteral("logo.bmp");
    ASSERT_TRUE(logo.save(path, "BMP"));
    labels->settings.ZLogoB = true;
    labels->settings.Path = path;
    compose({line});
    const TNalepka& first = label(0);
    EXPECT_EQ(first.Logo.size(), QSize(200, 50));
    EXPECT_EQ(QRect(QPoint(first.Logo1X, first.Logo1Y), QPoint(first.Logo2X, first.Logo2Y)),
              QRect(QPoint(12 + 53, 23), QPoint(12 + 53 + 128, 23 + 32)));
    EXPECT_EQ(first.SygY, 19 + 4 + 34);
    EXPECT_TRUE(first.Naz1.isEmpty());
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(Composition, MissingLogoIsReportedAndSwitchedOffForTheRun)
{
    labels->settings.ZLogoB = true;
    labels->settings.Path = programDir() + QStringLiteral("brak.bmp");
    labels->settings.NazBib1 = QStringLiteral("Biblioteka");
    compose({line});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0],
              (Message{"Brak pliku z logo " + labels->settings.Path, Texts::messageCaption(),
                       MessageButtons::Ok, MessageIcon::Error}));
    EXPECT_FALSE(labels->settings.ZLogoB);
    EXPECT_TRUE(labels->Logo.isNull());
    EXPECT_EQ(label(0).Naz1, "Biblioteka ");
    EXPECT_TRUE(label(0).Logo.isNull());
}

// A logo that cannot be read whole would print as a black block on every label: it is reported,
// and the labels go without it, as when it is missing.
TEST_F(Composition, ALogoCutShortIsTreatedLikeAMissingOne)
{
    for (const char* format : {"bmp", "png"}) {
        labels->settings.Path = programDir() + QStringLiteral("logo.") + QLatin1String(format);
        ASSERT_TRUE(QImage(200, 50, QImage::Format_RGB32).save(labels->settings.Path, format));
        QFile file(labels->settings.Path);
        ASSERT_TRUE(file.resize(file.size() * 6 / 10));
        labels->settings.ZLogoB = true;
        dialogs.clear();
        compose({line});
        EXPECT_TRUE(dialogs.shown().value(0).text.startsWith(
            "Plik z logo " + labels->settings.Path + " jest niepełny (ucięty)"));
        EXPECT_TRUE(!labels->settings.ZLogoB && label(0).Logo.isNull());
    }
}

} // namespace
