#include "labelfixture.h"

void LabelFixture::SetUp()
{
    LabelPrinterFixture::SetUp();
    start();
    metrics = measureWithFixedMetrics(*labels);
    dialogs.clear();
}

void LabelFixture::compose(const QStringList& lines)
{
    labels->queue.ListaLini = lines;
    labels->ParametryNalepki();
    labels->RysujNal(false);
}

QString LabelFixture::messages() const
{
    QStringList texts;
    for (const Message& message : dialogs.shown())
        texts << message.text;
    return texts.join(u'\n');
}
