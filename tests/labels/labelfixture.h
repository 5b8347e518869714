#pragma once

#include "fixedtextmetrics.h"
#include "labelprinterfixture.h"

// A started label printer with the default settings, measuring with FixedTextMetrics.
class LabelFixture : public LabelPrinterFixture {
protected:
    void SetUp() override;

    // Lays out the queue (the given lines) as showing the window does.
    void compose(const QStringList& lines);
    const TNalepka& label(int index) const { return labels->queue.ListaNal.at(index); }
    QString messages() const;

    FixedTextMetrics* metrics = nullptr;
};
