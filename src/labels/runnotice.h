#pragma once

#include <QString>

// One line on what a print run did, for a user who may not have watched it.
struct RunNotice {
    QString text;
    bool failed = false; // the run ended in an error

    friend bool operator==(const RunNotice&, const RunNotice&) = default;
};

// `printed` labels went to `printer`, or, when `folder` is not empty, were written as files into
// that folder; `failure` is the error that ended the run, empty when none did.
RunNotice runNotice(qsizetype printed, const QString& printer, const QString& folder,
                    const QString& failure);

// A test page went to `printer`, or, when `folder` is not empty, was written as a file into it.
RunNotice testPageNotice(const QString& printer, const QString& folder);

// "1 naklejkę", "2 naklejki", "5 naklejek": the count with the noun in its Polish plural form.
QString labelCount(qsizetype count);
