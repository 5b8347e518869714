// The page preview: the first sheet of the composed labels on the page image.
#include "window/tnal1.h"

#include "labels/monochrome.h"
#include "labels/texts.h"
#include "platform/apperror.h"
#include "window/pageimage.h"
#include "window/paperedge.h"

#include <QPainter>
#include <QPixmap>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QtMath>

namespace {

// The page image sits this far from the scroll box's edges, on all four sides.
constexpr int pageMargin = 15;
// The distance between the lines that hatch a place used already.
constexpr int hatchSpacing = 10;

} // namespace

void TNal1::ParametryNalepki()
{
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    KasujObiekty();
    m_labels.ParametryNalepki();

    // Drawn at the screen's device pixel ratio: sharp on a high-density screen, the same size in
    // the window's own pixels.
    pageBitmap = whiteMonochromeImage(m_labels.pageGrid().pageSize(), devicePixelRatioF());
    Image = new PageImage;
    connect(Image, &PageImage::pressed, this,
            [this](QPoint point) { guard().run([this, point] { pageClicked(point); }); });
    Image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image->setContentsMargins(pageMargin, pageMargin, pageMargin, pageMargin);
    Image->setPixmap(QPixmap::fromImage(pageBitmap));
    // The scroll ranges are the image's size plus the margin on both sides.
    Image->resize(pageBitmap.deviceIndependentSize().toSize() +
                  QSize(2 * pageMargin, 2 * pageMargin));
    ScrollBox1->setWidget(Image);
    Image->show();
}

void TNal1::PokazStrone()
{
    repaint();
    if (pageBitmap.isNull())
        return;
    const LabelQueue& queue = m_labels.queue;
    const qsizetype count =
        qMin(queue.ListaNal.size(), qsizetype(m_labels.settings.labelsPerSheet()));
    QString failure;
    try {
        hatchUsedPlaces();
        for (qsizetype i = 0; i < count; ++i)
            m_labels.PokazNalepke(queue.ListaNal[i], pageBitmap);
    } catch (const AppError& error) {
        failure = error.text(); // the labels drawn so far stay, the later ones are not drawn
    }
    if (const std::optional<QPointF> edge = m_labels.paperEdge())
        drawPaperEdge(pageBitmap, *edge);
    if (Image)
        Image->setPixmap(QPixmap::fromImage(pageBitmap));
    StatusBar1->showMessage(
        QStringLiteral("Pierwsza wolna naklejka: %1").arg(queue.usedPlaces + 1));
    if (!failure.isEmpty())
        m_labels.dialogs().message(
            {failure, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error});
}

// The places of the sheet in the printer that are gone already: outlined and lightly hatched.
void TNal1::hatchUsedPlaces()
{
    const PageGrid grid = m_labels.pageGrid();
    // Drawn in colour first: the monochrome page takes filled areas and images, not lines. Like
    // the page, at the screen's device pixel ratio.
    const qreal ratio = pageBitmap.devicePixelRatio();
    QImage cell(qCeil(grid.labelWidth * ratio), qCeil(grid.labelHeight * ratio),
                QImage::Format_RGB32);
    cell.setDevicePixelRatio(ratio);
    cell.fill(Qt::white);
    QPainter hatch(&cell);
    hatch.setPen(Qt::black);
    const int width = grid.labelWidth;
    const int height = grid.labelHeight;
    for (int x = -height; x < width; x += hatchSpacing)
        hatch.drawLine(x, height - 1, x + height - 1, 0);
    hatch.drawRect(0, 0, width - 1, height - 1);
    hatch.end();
    QPainter page(&pageBitmap);
    for (int place = 0; place < m_labels.queue.usedPlaces; ++place)
        page.drawImage(grid.labelOrigin(place), cell);
}

void TNal1::pageClicked(QPoint point)
{
    const int place = m_labels.pageGrid().placeAt(point);
    if (place < 0)
        return;
    m_labels.setFirstFree(place + 1);
    m_labels.RysujNal(false);
    clearPage();
    PokazStrone();
}

void TNal1::clearPage()
{
    pageBitmap.fill(0);
}

void TNal1::printTestPage()
{
    // The page image is set aside for the sample sheet and put back afterwards.
    PageImage* image = std::exchange(Image, nullptr);
    if (image)
        ScrollBox1->takeWidget();
    const QImage bitmap = pageBitmap;
    const auto restore = qScopeGuard([&] {
        KasujObiekty();
        pageBitmap = bitmap;
        Image = image;
        if (image)
            ScrollBox1->setWidget(image);
    });
    m_labels.printTestPage();
}

// After a print run: the hint counts what is left, and the preview shows its first sheet or
// goes when nothing is left.
void TNal1::showRemaining(bool asked)
{
    const qsizetype left = m_labels.queue.ListaLini.size();
    if (left == 0) {
        setHint(QStringLiteral("Liczba kodów w buforze: 0"));
        Timer1.start();
        hide();
        return;
    }
    const QString hintText = asked ? QStringLiteral("Liczba kodów w buforze: ")
                                   : QStringLiteral("Liczba kodów w buforze:");
    setHint(hintText + QString::number(left));
    clearPage();
    PokazStrone();
}
