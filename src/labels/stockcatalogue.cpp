#include "labels/stockcatalogue.h"

#include <algorithm>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

QString key(const QString& maker, const QString& part)
{
    return maker.toCaseFolded() + u'\n' + part.toCaseFolded();
}

// The entries of every template file of the folders, in the folders' order.
QList<CatalogueEntry> readEntries(const QStringList& folders,
                                  QHash<QString, CataloguePaper>& papers)
{
    QList<CatalogueEntry> entries;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("*.xml"), QStringLiteral("*.template")}, QDir::Files,
                           QDir::Name)) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                readCatalogueFile(file, entries, papers);
        }
    }
    return entries;
}

// An entry named the same as another part becomes that part under its own name; a chain that
// ends nowhere, or in itself, leaves it incomplete.
CatalogueEntry resolved(const CatalogueEntry& entry, const QHash<QString, qsizetype>& byName,
                        const QList<CatalogueEntry>& entries)
{
    const CatalogueEntry* target = &entry;
    for (int step = 0; step < 10 && !target->equiv.isEmpty(); ++step) {
        const qsizetype index = byName.value(key(target->stock.maker, target->equiv), -1);
        if (index < 0)
            break;
        target = &entries[index];
    }
    CatalogueEntry same = *target;
    same.stock.maker = entry.stock.maker;
    same.stock.part = entry.stock.part;
    if (!same.equiv.isEmpty())
        same.fault = LeftOutReason::Incomplete;
    return same;
}

// The paper by its name in the catalogue; "Other" is the size the template gives.
void placeOnPaper(CatalogueEntry& entry, const QHash<QString, CataloguePaper>& papers)
{
    LabelStock& stock = entry.stock;
    if (entry.paperId == u"Other") {
        if (stock.paperWidth <= 0 || stock.paperHeight <= 0)
            entry.fault = entry.fault.value_or(LeftOutReason::Incomplete);
        return;
    }
    const auto paper = papers.constFind(entry.paperId);
    if (paper == papers.cend()) {
        entry.fault = entry.fault.value_or(LeftOutReason::Incomplete);
        return;
    }
    stock.paper = paper->name;
    stock.paperWidth = paper->width;
    stock.paperHeight = paper->height;
}

// A length in millimetres with a dot, as typed in a search.
QString searchNumber(int hundredths)
{
    return QString::number(hundredths / 100.0, 'g', 6);
}

QString searchText(const LabelStock& stock)
{
    const QString width = searchNumber(stock.width);
    const QString height = searchNumber(stock.height);
    return QStringList{stock.maker,
                       stock.part,
                       width,
                       height,
                       width + u'x' + height,
                       QStringLiteral("%1x%2").arg(stock.columns).arg(stock.rows),
                       stock.paper,
                       searchNumber(stock.paperWidth) + u'x' + searchNumber(stock.paperHeight)}
        .join(u' ')
        .toCaseFolded();
}

// Every word of `text`, in the search's form: "63,5 × 38,1" → "63.5", "x", "38.1".
QStringList searchWords(const QString& text)
{
    QString normal = text.toCaseFolded();
    normal.replace(u',', u'.').replace(u'×', u'x');
    return normal.split(u' ', Qt::SkipEmptyParts);
}

bool matches(const LabelStock& stock, const QStringList& words)
{
    const QString haystack = searchText(stock);
    return std::all_of(words.begin(), words.end(),
                       [&haystack](const QString& word) { return haystack.contains(word); });
}

QString reasonText(LeftOutReason reason)
{
    switch (reason) {
    case LeftOutReason::NotRectangular:
        return QStringLiteral("okrągłe lub owalne naklejki");
    case LeftOutReason::SeveralLayouts:
        return QStringLiteral("kilka układów naklejek na arkuszu");
    case LeftOutReason::OutOfRange:
        return QStringLiteral("wymiary spoza zakresu programu");
    case LeftOutReason::Incomplete:
        break;
    }
    return QStringLiteral("niepełny opis w katalogu");
}

} // namespace

QStringList StockCatalogue::folders()
{
    const QString configuration =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QStringList folders{configuration + QStringLiteral("/libglabels/templates"),
                        QDir::homePath() + QStringLiteral("/.glabels")};
    folders += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                         QStringLiteral("libglabels-3.0/templates"),
                                         QStandardPaths::LocateDirectory);
    return folders;
}

StockCatalogue StockCatalogue::read(const QStringList& folders)
{
    QHash<QString, CataloguePaper> papers;
    const QList<CatalogueEntry> entries = readEntries(folders, papers);
    QHash<QString, qsizetype> byName; // the first entry of each maker and part
    for (qsizetype i = entries.size() - 1; i >= 0; --i)
        byName.insert(key(entries[i].stock.maker, entries[i].stock.part), i);
    StockCatalogue catalogue;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (byName.value(key(entries[i].stock.maker, entries[i].stock.part)) != i)
            continue;
        CatalogueEntry entry = resolved(entries[i], byName, entries);
        placeOnPaper(entry, papers);
        if (!entry.fault && !entry.stock.printable())
            entry.fault = LeftOutReason::OutOfRange;
        if (entry.fault)
            catalogue.leftOut.append({entry.stock, *entry.fault});
        else
            catalogue.offered.append(entry.stock);
    }
    // In Polish order, the numbers in part numbers by their value: 5160 before 15160.
    QCollator collator{QLocale(QLocale::Polish)};
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(catalogue.offered.begin(), catalogue.offered.end(),
                     [&collator](const LabelStock& a, const LabelStock& b) {
                         const int maker = collator.compare(a.maker, b.maker);
                         return maker != 0 ? maker < 0 : collator.compare(a.part, b.part) < 0;
                     });
    return catalogue;
}

QString StockCatalogue::missingText()
{
    return QStringLiteral("Brak katalogu arkuszy naklejek: zainstaluj pakiet glabels-data.");
}

QList<LabelStock> StockCatalogue::matching(const QString& text) const
{
    const QStringList words = searchWords(text);
    QList<LabelStock> found;
    std::copy_if(offered.begin(), offered.end(), std::back_inserter(found),
                 [&words](const LabelStock& stock) { return matches(stock, words); });
    return found;
}

QList<LeftOutStock> StockCatalogue::leftOutMatching(const QString& text) const
{
    const QStringList words = searchWords(text);
    QList<LeftOutStock> found;
    std::copy_if(leftOut.begin(), leftOut.end(), std::back_inserter(found),
                 [&words](const LeftOutStock& sheet) { return matches(sheet.stock, words); });
    return found;
}

const LabelStock* StockCatalogue::find(const QString& name) const
{
    const auto found = std::find_if(offered.begin(), offered.end(), [&name](const LabelStock& s) {
        return s.name().compare(name.simplified(), Qt::CaseInsensitive) == 0;
    });
    return found == offered.end() ? nullptr : &*found;
}

const LeftOutStock* StockCatalogue::findLeftOut(const QString& name) const
{
    const auto found =
        std::find_if(leftOut.begin(), leftOut.end(), [&name](const LeftOutStock& sheet) {
            return sheet.stock.name().compare(name.simplified(), Qt::CaseInsensitive) == 0;
        });
    return found == leftOut.end() ? nullptr : &*found;
}

QString StockCatalogue::leftOutSummary() const
{
    QStringList counts;
    for (LeftOutReason reason : {LeftOutReason::NotRectangular, LeftOutReason::SeveralLayouts,
                                 LeftOutReason::OutOfRange, LeftOutReason::Incomplete}) {
        const auto count =
            std::count_if(leftOut.begin(), leftOut.end(),
                          [reason](const LeftOutStock& s) { return s.reason == reason; });
        if (count > 0)
            counts << QStringLiteral("%1 – %2").arg(reasonText(reason)).arg(count);
    }
    return counts.isEmpty() ? QString()
                            : QStringLiteral("Pominięte arkusze: %1.").arg(counts.join(u", "));
}

QString leftOutText(const LeftOutStock& sheet)
{
    QString text = reasonText(sheet.reason);
    if (sheet.reason == LeftOutReason::OutOfRange)
        text += QStringLiteral(" (%1, %2)").arg(sheet.stock.sizeText(), sheet.stock.gridText());
    return text;
}
