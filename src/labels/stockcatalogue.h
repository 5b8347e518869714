#pragma once

#include "labels/catalogueentry.h"

#include <QList>
#include <QStringList>

// A sheet of the catalogue that the program does not offer, and why.
struct LeftOutStock {
    LabelStock stock; // maker and part; the sizes where the catalogue gives them
    LeftOutReason reason;
};

// The label stock the program offers: the sheets of the gLabels template catalogue (Debian's
// glabels-data, and templates of the user's own) with rectangular labels in one grid that the
// program can print, by maker and part; the others with the reason they are left out.
struct StockCatalogue {
    QList<LabelStock> offered;
    QList<LeftOutStock> leftOut;

    // The folders the catalogue is read from, the user's own first: the gLabels template folders
    // of the user's configuration and home folder, then libglabels-3.0/templates in each data
    // folder (the user's, then the system's).
    static QStringList folders();
    // Reads the template files (*.xml, *.template) of `folders`. The first sheet of a maker and
    // part counts; one named the same as another part ("equiv") is that part.
    static StockCatalogue read(const QStringList& folders = StockCatalogue::folders());

    bool isEmpty() const { return offered.isEmpty() && leftOut.isEmpty(); }
    // What the program says when there is no catalogue.
    static QString missingText();

    // The sheets of which every word of `text` names a part: maker, part, label size (63,5 or
    // 63.5, 63.5x38.1), grid (3x7) or paper. An empty text matches all.
    QList<LabelStock> matching(const QString& text) const;
    QList<LeftOutStock> leftOutMatching(const QString& text) const;
    // The offered sheet named "MAKER PART", in any letter case; none when there is no such sheet.
    const LabelStock* find(const QString& name) const;
    const LeftOutStock* findLeftOut(const QString& name) const;

    // How many sheets are left out for each reason, in one line.
    QString leftOutSummary() const;
};

// Why a sheet is left out, in a few words.
QString leftOutText(const LeftOutStock& sheet);
