// Sheets of catalogue stock printed through "Plik PDF" and rendered with poppler: every label's
// frame stands where the maker's template puts it, from the paper's edge, at every row and column
// and at each resolution, and the page is the stock's paper. Avery L7651's pitch of 21.2 mm is
// no whole number of layout pixels or dots: a pitch rounded once and multiplied is off by row 13.
#include "labels/stockcatalogue.h"
#include "labels/stocksettings.h"
#include "platform/printing/devmode.h"
#include "printingfixture.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>

namespace {

constexpr double tolerance = 0.15; // millimetres

// A roll of 62 × 29 mm labels, a page each, as a template of the user's own describes it.
const char rollTemplate[] =
    R"(<Glabels-templates><Template brand="Rolka" part="62x29" size="Other" width="62mm"
    height="29mm"><Label-rectangle id="0" width="62mm" height="29mm"><Layout nx="1" ny="1"/>
    </Label-rectangle></Template></Glabels-templates>)";

struct Case {
    const char* stock;
    int dpi;
};

void PrintTo(const Case& one, std::ostream* out)
{
    *out << one.stock << " at " << one.dpi << " dpi";
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

using Runs = QList<std::pair<double, double>>; // where ink begins and ends, millimetres

// The dark runs along one line of pixels of the rendered page: a row at `y` or a column at `x`
// (millimetres), the other one negative.
Runs darkRuns(const QString& pdf, int dpi, double x, double y, const QString& folder)
{
    QImageReader::setAllocationLimit(0);
    const auto pixels = [dpi](double millimetres) { return qRound(millimetres / 25.4 * dpi); };
    const bool across = x < 0;
    const QString prefix = folder + QStringLiteral("/strip");
    run(QStringLiteral("pdftoppm"),
        {"-gray", "-r", QString::number(dpi), "-x", QString::number(across ? 0 : pixels(x)), "-y",
         QString::number(across ? pixels(y) : 0), "-W", across ? "100000" : "1", "-H",
         across ? "1" : "100000", "-singlefile", pdf, prefix});
    const QImage strip = QImage(prefix + QStringLiteral(".pgm"));
    Runs runs;
    const int length = across ? strip.width() : strip.height();
    for (int i = 0; i < length; ++i) {
        const bool dark = qGray(across ? strip.pixel(i, 0) : strip.pixel(0, i)) < 128;
        const double at = i * 25.4 / dpi;
        if (dark && (runs.isEmpty() || runs.last().second < at - 1e-9))
            runs.append({at, at});
        if (dark)
            runs.last().second = (i + 1) * 25.4 / dpi;
    }
    return runs;
}

// The frames' lines one dot wide at the edges `edges` (each label's start and end), lines that
// touch one another as one run.
Runs expectedRuns(const QList<std::pair<int, int>>& edges, int dpi)
{
    const double dot = 25.4 / dpi;
    Runs runs;
    for (const auto& [start, end] : edges)
        for (const std::pair<double, double>& line : {std::pair(start / 100.0, start / 100.0 + dot),
                                                      std::pair(end / 100.0 - dot, end / 100.0)}) {
            if (!runs.isEmpty() && line.first - runs.last().second < dot / 2)
                runs.last().second = line.second;
            else
                runs.append(line);
        }
    return runs;
}

class StockOnPaper : public FilePrinterFixture, public ::testing::WithParamInterface<Case> {
protected:
    // The stock of the catalogue, with the roll template in a folder of the user's own.
    std::optional<LabelStock> stock(const QString& name)
    {
        QDir(dir.path()).mkpath(QStringLiteral("templates"));
        QFile roll(dir.filePath(QStringLiteral("templates/rolka.template")));
        EXPECT_TRUE(roll.open(QIODevice::WriteOnly) && roll.write(rollTemplate) > 0);
        roll.close();
        const StockCatalogue catalogue = StockCatalogue::read(
            {dir.filePath(QStringLiteral("templates")), "/usr/share/libglabels-3.0/templates"});
        const LabelStock* found = catalogue.find(name);
        return found ? std::optional(*found) : std::nullopt;
    }

    // Prints a full sheet of the stock on "Plik PDF" at `dpi`; its file.
    QString printSheet(const LabelStock& stock, int dpi)
    {
        useStock(labels->settings, stock);
        // Texts and bars that fit the narrowest label, 38.1 mm.
        labels->settings.SzerKKI = 30;
        labels->settings.SFont.size = labels->settings.IFont.size = 8;
        QByteArray& block = *labels->printer().currentDevice().settings;
        PrintSettings settings = DevMode::decode(block);
        settings.resolution = dpi;
        block = DevMode::encode(settings);
        compose(stock.columns * stock.rows);
        dialogs.answer(MessageAnswer::No);
        printQueue();
        const QString folder = labels->paths.FilePath + QStringLiteral("wydruki/");
        const QStringList files = QDir(folder).entryList({QStringLiteral("*.pdf")});
        return files.size() == 1 ? folder + files[0] : QString();
    }
};

TEST_P(StockOnPaper, EveryFrameStandsWhereTheTemplatePutsIt)
{
    const auto [name, dpi] = GetParam();
    const std::optional<LabelStock> found = stock(QString::fromUtf8(name));
    if (!found)
        GTEST_SKIP() << "glabels-data is not installed (scripts/install-deps.sh installs it)";
    const LabelStock& s = *found;
    const QString pdf = printSheet(s, dpi);
    ASSERT_FALSE(pdf.isEmpty()) << "one sheet in wydruki/";

    static const QRegularExpression pageSize(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+))"));
    const QRegularExpressionMatch page = pageSize.match(run("pdfinfo", {pdf}));
    ASSERT_TRUE(page.hasMatch());
    EXPECT_NEAR(page.captured(1).toDouble(), s.paperWidth / 2540.0 * 72, 0.5);
    EXPECT_NEAR(page.captured(2).toDouble(), s.paperHeight / 2540.0 * 72, 0.5);

    QList<std::pair<int, int>> across; // every column's left and right edge
    QList<std::pair<int, int>> down;   // every row's top and bottom edge
    for (int column = 0; column < s.columns; ++column)
        across.append({s.label(column).left(), s.label(column).left() + s.width});
    for (int row = 0; row < s.rows; ++row)
        down.append({s.label(row * s.columns).top(), s.label(row * s.columns).top() + s.height});
    // Half a millimetre inside the labels of each row and column, where only frames are.
    const auto compare = [&](const Runs& measured, const Runs& expected) {
        ASSERT_EQ(measured.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(measured[i].first, expected[i].first, tolerance) << "line " << i;
            EXPECT_NEAR(measured[i].second, expected[i].second, tolerance) << "line " << i;
        }
    };
    for (int row = 0; row < s.rows; ++row) {
        SCOPED_TRACE(QStringLiteral("row %1").arg(row + 1).toStdString());
        compare(darkRuns(pdf, dpi, -1, down[row].first / 100.0 + 0.5, dir.path()),
                expectedRuns(across, dpi));
    }
    for (int column = 0; column < s.columns; ++column) {
        SCOPED_TRACE(QStringLiteral("column %1").arg(column + 1).toStdString());
        compare(darkRuns(pdf, dpi, across[column].first / 100.0 + 0.5, -1, dir.path()),
                expectedRuns(down, dpi));
    }
}

INSTANTIATE_TEST_SUITE_P(Stock, StockOnPaper,
                         ::testing::Values(Case{"Avery L7160", 300}, Case{"Avery L7160", 600},
                                           Case{"Avery L7160", 1200}, Case{"Avery L7651", 300},
                                           Case{"Avery L7651", 600}, Case{"Avery L7651", 1200},
                                           Case{"Avery 5160", 300}, Case{"Avery 5160", 600},
                                           Case{"Avery 5160", 1200}, Case{"Rolka 62x29", 300},
                                           Case{"Rolka 62x29", 600}, Case{"Rolka 62x29", 1200}),
                         [](const auto& info) {
                             return QString::fromUtf8(info.param.stock).remove(u' ').toStdString() +
                                    '_' + std::to_string(info.param.dpi) + "dpi";
                         });

} // namespace
