#include "app/stockcommand.h"

#include "app/commandline.h"
#include "app/exitcodes.h"
#include "app/programfolder.h"
#include "labels/discovery.h"
#include "labels/settingsfile.h"
#include "labels/stockcatalogue.h"
#include "platform/apperror.h"

#include <cstdio>
#include <QCoreApplication>

namespace {

void complain(const QString& text)
{
    std::fprintf(stderr, "zelk_nal: %s\n", qUtf8Printable(text));
}

// "Avery L7160                  63,5 × 38,1 mm    3 × 7    A4"
QString stockLine(const LabelStock& stock)
{
    return stock.name().leftJustified(28) + u' ' + stock.sizeText().leftJustified(17) + u' ' +
           stock.gridText().leftJustified(8) + u' ' + stock.paperText();
}

int list(const StockCatalogue& catalogue, const QString& text)
{
    const QList<LabelStock> found = catalogue.matching(text);
    for (const LabelStock& stock : found)
        std::printf("%s\n", qUtf8Printable(stockLine(stock)));
    // Why a sheet is missing: for all of them in one line, for those looked for each.
    if (text.isEmpty())
        complain(catalogue.leftOutSummary());
    else
        for (const LeftOutStock& sheet : catalogue.leftOutMatching(text))
            complain(
                QStringLiteral("%1 pominięty: %2.").arg(sheet.stock.name(), leftOutText(sheet)));
    if (found.isEmpty()) {
        complain(QStringLiteral("żaden arkusz z katalogu nie pasuje do „%1”.").arg(text));
        return kFailed;
    }
    return 0;
}

int setStock(const StockCatalogue& catalogue, const QString& name, const QStringList& arguments)
{
    const LabelStock* stock = catalogue.find(name);
    if (!stock) {
        const LeftOutStock* leftOut = catalogue.findLeftOut(name);
        complain(leftOut ? QStringLiteral("arkusza %1 program nie drukuje: %2.")
                               .arg(leftOut->stock.name(), leftOutText(*leftOut))
                         : QStringLiteral("w katalogu nie ma arkusza „%1” (zelk_nal --stock "
                                          "TEKST wypisuje pasujące).")
                               .arg(name));
        return kFailed;
    }
    const QString file = locateSettingsFile(programFolderPath(), arguments).settingsFile();
    try {
        writeStockSettings(file, *stock);
    } catch (const AppError& error) {
        complain(error.text());
        return kFailed;
    }
    std::printf("zelk_nal: arkusz %s (%s, %s, %s) zapisany w %s.\n", qUtf8Printable(stock->name()),
                qUtf8Printable(stock->sizeText()), qUtf8Printable(stock->gridText()),
                qUtf8Printable(stock->paperText()), qUtf8Printable(file));
    return 0;
}

} // namespace

int runStockCommand(int argc, char** argv)
{
    const QCoreApplication app(argc, argv);
    const CommandLine commandLine = parseCommandLine(app);
    const StockCatalogue catalogue = StockCatalogue::read();
    if (catalogue.isEmpty()) {
        complain(StockCatalogue::missingText());
        return kFailed;
    }
    if (commandLine.setStock)
        return setStock(catalogue, *commandLine.setStock, commandLine.arguments);
    return list(catalogue, commandLine.arguments.join(u' '));
}
