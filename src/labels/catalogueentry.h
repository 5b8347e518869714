#pragma once

#include "labels/labelstock.h"

#include <optional>
#include <QHash>
#include <QList>

class QIODevice;

// Why the catalogue has a sheet the program does not offer.
enum class LeftOutReason {
    NotRectangular, // round or oval labels, CDs
    SeveralLayouts, // more than one grid of labels on the sheet
    OutOfRange,     // labels or a grid the program cannot print
    Incomplete,     // a description that lacks what placing the labels needs
};

// One sheet as a template file describes it: the stock (maker, part, label and grid), the paper
// by its name in the catalogue, or the part it is the same as.
struct CatalogueEntry {
    LabelStock stock; // its paper's name and size come from the paper sizes
    QString paperId;  // "A4", "US-Letter", or "Other" with the size in the stock
    QString equiv;    // the part of the same maker this one is the same as
    std::optional<LeftOutReason> fault;
};

// A paper size of the catalogue: its name to show and its size in hundredths of a millimetre.
struct CataloguePaper {
    QString name;
    int width = 0;
    int height = 0;
};

// Reads the templates and paper sizes of one catalogue file (the XML of gLabels' template
// folders); a file that is no such XML adds nothing.
void readCatalogueFile(QIODevice& file, QList<CatalogueEntry>& entries,
                       QHash<QString, CataloguePaper>& papers);

// A length with its unit ("21.2", "7.48mm", "0.25in"; points when it has none) in hundredths of
// a millimetre; `absent` for an empty text, none for text that is no length.
std::optional<int> catalogueLength(QStringView text, std::optional<int> absent = std::nullopt);
