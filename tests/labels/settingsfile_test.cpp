#include "labels/settingsfile.h"
#include "platform/apperror.h"
#include "platform/files/ansicodec.h"
#include "platform/files/profilefile.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace {

// Every key, in the order the program writes them.
const QString writtenFile = QStringLiteral("[Marginesy]\r\n"
                                           "Górny=6\r\n"
                                           "Lewy=4\r\n"
                                           "Między Nalepkami Pionowy=10\r\n"
                                           "Między Nalepkami Poziomy=8\r\n"
                                           "[Wymiary Nalepki]\r\n"
                                           "Wysokość=31\r\n"
                                           "Szerokość=62\r\n"
                                           "[Wymiary Strony]\r\n"
                                           "Ilość Kolumn=2\r\n"
                                           "Ilość Rzędów=9\r\n"
                                           "[Wzorce]\r\n"
                                           "Identyfikator=99-9999\r\n"
                                           "[Sposób Wydruku]\r\n"
                                           "Bez Wyświetlania=1\r\n"
                                           "[Wygląd Nalepki]\r\n"
                                           "Bez Ramki=1\r\n"
                                           "Bez Nazwy=0\r\n"
                                           "Bez Sygnatury=1\r\n"
                                           "Z Logo Biblioteki=1\r\n"
                                           "Ścieżka do Logo=/opt/logo źródło.bmp\r\n"
                                           "Szerokość Kodu Kreskowego=40\r\n"
                                           "[Nazwa Biblioteki]\r\n"
                                           "Nazwa Czcionki=Arial\r\n"
                                           "Wielkosc Czcionki=12\r\n"
                                           "Skrypt=0\r\n"
                                           "Podkreślenie=1\r\n"
                                           "Pogrubienie=0\r\n"
                                           "Pochylenie=0\r\n"
                                           "[Sygnatura]\r\n"
                                           "Nazwa Czcionki=Times New Roman\r\n"
                                           "Wielkosc Czcionki=10\r\n"
                                           "Skrypt=238\r\n"
                                           "Podkreślenie=0\r\n"
                                           "Pogrubienie=1\r\n"
                                           "Pochylenie=0\r\n"
                                           "[Identyfikator]\r\n"
                                           "Nazwa Czcionki=Courier New\r\n"
                                           "Wielkosc Czcionki=9\r\n"
                                           "Skrypt=161\r\n"
                                           "Podkreślenie=0\r\n"
                                           "Pogrubienie=0\r\n"
                                           "Pochylenie=1\r\n"
                                           "[NAKLEJKI]\r\n"
                                           "Plik=bufor.txt\r\n"
                                           "ścieżka=/var/zelk/\r\n"
                                           "utf8=0\r\n"
                                           "[DRUKARKA]\r\n"
                                           "nazwa=Biuro\r\n");

// The same settings as a person might write them: other letter case, blanks, quotes, hex.
const QString handWrittenFile = QStringLiteral("; ustawienia drukowania naklejek\n"
                                               "[naklejki]\n"
                                               "UTF8 = 0\n"
                                               "[Marginesy]\n"
                                               "górny = 6\n"
                                               "Lewy=4\n"
                                               "Między Nalepkami Poziomy=8\n"
                                               "MIĘDZY NALEPKAMI PIONOWY=0xA\n"
                                               "[Wymiary Nalepki]\n"
                                               "Wysokość=31\n"
                                               "Szerokość=+62\n"
                                               "[Wymiary Strony]\n"
                                               "Ilość Kolumn=2\n"
                                               "Ilość Rzędów=9\n"
                                               "[Wzorce]\n"
                                               "Identyfikator=\"99-9999\"\n"
                                               "[Sposób Wydruku]\n"
                                               "Bez Wyświetlania=1\n"
                                               "[Wygląd Nalepki]\n"
                                               "Bez Ramki=7\n"
                                               "Bez Nazwy=0\n"
                                               "Bez Sygnatury=-1\n"
                                               "Z Logo Biblioteki=1\n"
                                               "ŚCIEŻKA DO LOGO=/opt/logo źródło.bmp\n"
                                               "Szerokość Kodu Kreskowego=40\n"
                                               "[Nazwa Biblioteki]\n"
                                               "Nazwa Czcionki=Arial\n"
                                               "Wielkosc Czcionki=12\n"
                                               "Skrypt=0\n"
                                               "Podkreślenie=1\n"
                                               "[Sygnatura]\n"
                                               "Nazwa Czcionki=Times New Roman\n"
                                               "Wielkosc Czcionki=10\n"
                                               "Pogrubienie=1\n"
                                               "[Identyfikator]\n"
                                               "Nazwa Czcionki=Courier New\n"
                                               "Wielkosc Czcionki=9\n"
                                               "Skrypt=0xA1\n"
                                               "Pochylenie=1\n"
                                               "[DRUKARKA]\n"
                                               "nazwa=\"  Biuro \"\n"
                                               "[Instalacja]\n"
                                               "Nazwa 1=Gminna Biblioteka Publiczna\n"
                                               "Nazwa 2=w Żółkiewce\n");

Settings expectedSettings()
{
    Settings s;
    s.MargGI = 6;
    s.MargLI = 4;
    s.MargMOI = 8;
    s.MargMII = 10;
    s.WysNalI = 31;
    s.SzerNalI = 62;
    s.IlKol = 2;
    s.IlWie = 9;
    s.SzerKKI = 40;
    s.BezWyswB = true;
    s.BezRamkiB = true;
    s.BezSygnB = true;
    s.ZLogoB = true;
    s.UTF8Encoding = false;
    s.WzorIdS = QStringLiteral("99-9999");
    s.Path = QStringLiteral("/opt/logo źródło.bmp");
    s.PrinterName = QStringLiteral("Biuro");
    s.NFont = {QStringLiteral("Arial"), 12, 0, true, false, false};
    s.SFont = {QStringLiteral("Times New Roman"), 10, 238, false, true, false};
    s.IFont = {QStringLiteral("Courier New"), 9, 161, false, false, true};
    s.NazBib1 = QStringLiteral("Gminna Biblioteka Publiczna");
    s.NazBib2 = QStringLiteral("w Żółkiewce");
    return s;
}

class SettingsFileTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("zelk_nal.ini")); }

    void write(QByteArrayView bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), bytes.size());
    }
    QByteArray bytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    SettingsReading read() const { return readSettings(ProfileFile(path())); }
    void setKey(QStringView section, QStringView key, const QString& value) const
    {
        ProfileFile file(path());
        file.writeString(section, key, value);
        file.save();
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsFileTest, WithoutAFileEverySettingHasItsDefault)
{
    const SettingsReading reading = read();
    EXPECT_TRUE(reading.errors.isEmpty());
    const Settings& s = reading.settings;
    EXPECT_EQ(s, Settings());
    EXPECT_EQ(std::tuple(s.IlKol, s.IlWie, s.SzerNalI, s.WysNalI), std::tuple(3, 8, 61, 30));
    EXPECT_EQ(std::tuple(s.MargGI, s.MargLI, s.MargMOI, s.MargMII, s.SzerKKI),
              std::tuple(5, 3, 7, 9, 48));
    EXPECT_EQ(s.WzorIdS, QStringLiteral("999-999999-99-9"));
    EXPECT_TRUE(s.UTF8Encoding);
    EXPECT_FALSE(s.BezWyswB || s.BezRamkiB || s.BezNazwyB || s.BezSygnB || s.ZLogoB);
    for (const LabelFont& font : {s.NFont, s.SFont, s.IFont})
        EXPECT_EQ(font, (LabelFont{QStringLiteral("Courier"), 14, 238, false, false, false}));
    EXPECT_EQ(s.Path + s.PrinterName + s.NazBib1 + s.NazBib2, QString());
}

struct Encoding {
    const char* name;
    QByteArray (*encode)(const QString& text);
};

class SettingsFileEncoding : public SettingsFileTest,
                             public ::testing::WithParamInterface<Encoding> {};

TEST_P(SettingsFileEncoding, ReadsEveryKey)
{
    write(GetParam().encode(handWrittenFile));
    const SettingsReading reading = read();
    EXPECT_TRUE(reading.errors.isEmpty()) << reading.errors.join(u'|').toStdString();
    EXPECT_EQ(reading.settings, expectedSettings());
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, SettingsFileEncoding,
    ::testing::Values(Encoding{"Windows1250",
                               [](const QString& text) { return AnsiCodec::encode(text); }},
                      Encoding{"Utf16WithBom",
                               [](const QString& text) {
                                   return QByteArray("\xFF\xFE") +
                                          QByteArray(QStringEncoder(QStringEncoder::Utf16LE)(text));
                               }},
                      Encoding{"Utf8", [](const QString& text) { return text.toUtf8(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, RejectedFontValueIsReportedAndTheFontKeepsItsDefaults)
{
    struct Case {
        QStringView section;
        QStringView key;
        QString value;
        QString error;
        LabelFont Settings::*font;
    };
    const QList<Case> cases = {
        {u"Nazwa Biblioteki", u"Skrypt", QStringLiteral("300"), QStringLiteral("Range check error"),
         &Settings::NFont},
        {u"Sygnatura", u"Skrypt", QStringLiteral("-1"), QStringLiteral("Range check error"),
         &Settings::SFont},
        {u"Identyfikator", u"Wielkosc Czcionki", QStringLiteral("1099511627776"),
         QStringLiteral("'1099511627776' is not a valid integer value"), &Settings::IFont},
        {u"Sygnatura", u"Wielkosc Czcionki", QString(),
         QStringLiteral("'' is not a valid integer value"), &Settings::SFont},
        {u"Nazwa Biblioteki", u"Skrypt", QStringLiteral("ee"),
         QStringLiteral("'ee' is not a valid integer value"), &Settings::NFont},
    };
    for (const Case& c : cases) {
        write(handWrittenFile.toUtf8());
        setKey(c.section, c.key, c.value);
        const SettingsReading reading = read();
        EXPECT_EQ(reading.errors, QStringList{c.error}) << c.value.toStdString();
        Settings expected = expectedSettings();
        expected.*c.font = LabelFont();
        EXPECT_EQ(reading.settings, expected) << c.value.toStdString();
    }
}

// Each number beyond one end of its control's range in the settings dialog (the font size: the
// font dialog's 1..512).
TEST_F(SettingsFileTest, NumbersOutsideTheDialogsRangesAreBroughtIntoThemOneMessageEach)
{
    write(
        QStringLiteral("[Marginesy]\nGórny=-1\nLewy=100\nMiędzy Nalepkami Pionowy=21\n"
                       "Między Nalepkami Poziomy=-2147483648\n"
                       "[Wymiary Nalepki]\nWysokość=9\nSzerokość=2000000000\n"
                       "[Wymiary Strony]\nIlość Kolumn=0\nIlość Rzędów=2147483647\n"
                       "[Wygląd Nalepki]\nSzerokość Kodu Kreskowego=19\n"
                       "[Sygnatura]\nWielkosc Czcionki=0\n[Identyfikator]\nWielkosc Czcionki=513\n")
            .toUtf8());
    const SettingsReading reading = read();
    const Settings& s = reading.settings;
    EXPECT_EQ(std::tuple(s.MargGI, s.MargLI, s.MargMII, s.MargMOI, s.WysNalI, s.SzerNalI),
              std::tuple(0, 99, 20, 0, 10, 99));
    EXPECT_EQ(std::tuple(s.IlKol, s.IlWie, s.SzerKKI, s.SFont.size, s.IFont.size),
              std::tuple(1, 50, 20, 1, 512));
    ASSERT_EQ(reading.warnings.size(), 11);
    EXPECT_EQ(reading.warnings[6],
              QStringLiteral("Wartość 0 klucza „Ilość Kolumn” w sekcji [Wymiary "
                             "Strony] jest spoza zakresu od 1 do 20 - użyto 1."));
}

TEST_F(SettingsFileTest, Utf8IsOnUnlessItReadsAsZero)
{
    const QList<std::pair<QString, bool>> cases = {{QString(), true},
                                                   {QStringLiteral("utf8=0"), false},
                                                   {QStringLiteral("utf8=0x0"), false},
                                                   {QStringLiteral("utf8=yes"), true},
                                                   {QStringLiteral("utf8=no"), true},
                                                   {QStringLiteral("utf8=2"), true}};
    for (const auto& [line, utf8] : cases) {
        write((QStringLiteral("[NAKLEJKI]\r\n") + line).toUtf8());
        EXPECT_EQ(read().settings.UTF8Encoding, utf8) << line.toStdString();
    }
}

TEST_F(SettingsFileTest, WritesEveryKeyInItsOrderAndReadsThemBack)
{
    Settings settings = expectedSettings();
    writeSettings(path(), settings, QStringLiteral("/var/zelk/bufor.txt"), false);
    EXPECT_EQ(AnsiCodec::decode(bytes()), writtenFile);
    EXPECT_EQ(bytes(), AnsiCodec::encode(writtenFile));

    // The name lines belong to the installation; the program does not write them.
    settings.NazBib1.clear();
    settings.NazBib2.clear();
    EXPECT_EQ(read().settings, settings);
}

TEST_F(SettingsFileTest, WritingKeepsTheOtherEntriesAndTheFilesEncoding)
{
    write(QStringLiteral("[NAKLEJKI]\r\nścieżka=%INI%temp/\r\n; host\r\n\r\n[Instalacja]\r\n"
                         "Nazwa 1=Biblioteka\r\n")
              .toUtf8());
    Settings settings;
    settings.PrinterName = QStringLiteral(" Biuro ");
    writeSettings(path(), settings, QStringLiteral("/srv/bufor/naklejka.dat"), true);

    const QString text = QString::fromUtf8(bytes());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[NAKLEJKI]\r\nścieżka=/srv/bufor/\r\n; host\r\n"
                                               "Plik=naklejka.dat\r\nutf8=1\r\n\r\n[Instalacja]\r\n"
                                               "Nazwa 1=Biblioteka\r\n[Marginesy]\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("[DRUKARKA]\r\nnazwa= Biuro \r\n")));
    const SettingsReading reading = read();
    EXPECT_EQ(reading.settings.NazBib1, QStringLiteral("Biblioteka"));
    EXPECT_EQ(reading.settings.PrinterName, QStringLiteral("Biuro"));
}

TEST_F(SettingsFileTest, AFailedWriteNamesTheFile)
{
    const QString missing = m_dir.filePath(QStringLiteral("brak/zelk_nal.ini"));
    try {
        writeSettings(missing, Settings(), QStringLiteral("/tmp/naklejka.dat"), true);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("Unable to write to ") + missing);
    }
}

} // namespace
