#include "labelfixture.h"

void LabelFixture::SetUp()
{
    MainWindowFixture::SetUp();
    start();
    auto fixed = std::make_unique<FixedTextMetrics>();
    metrics = fixed.get();
    window->metrics = std::move(fixed);
    window->settings.NFont.size = 16;
    window->settings.SFont.size = 12;
    window->settings.IFont.size = 14;
    dialogs.clear();
}

void LabelFixture::compose(const QStringList& lines)
{
    window->queue.ListaLini = lines;
    window->ParametryNalepki();
    window->RysujNal(false);
}

QString LabelFixture::messages() const
{
    QStringList texts;
    for (const Message& message : dialogs.shown())
        texts << message.text;
    return texts.join(u'\n');
}

bool isWhite(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff)
                return false;
        }
    }
    return true;
}
