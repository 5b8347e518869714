// The page preview: the first sheet of the composed labels on the page image.
#include "window/tnal1.h"

#include "labels/monochrome.h"
#include "labels/texts.h"
#include "platform/apperror.h"

#include <QLabel>
#include <QPixmap>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// The page image sits this far from the scroll box's edges, on all four sides.
constexpr int pageMargin = 15;

} // namespace

void TNal1::ParametryNalepki()
{
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    KasujObiekty();
    m_labels.ParametryNalepki();

    pageBitmap = whiteMonochromeImage(m_labels.pageGrid().pageSize());
    Image = new QLabel;
    Image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image->setContentsMargins(pageMargin, pageMargin, pageMargin, pageMargin);
    Image->setPixmap(QPixmap::fromImage(pageBitmap));
    // The scroll ranges are the image's size plus the margin on both sides.
    Image->resize(pageBitmap.size() + QSize(2 * pageMargin, 2 * pageMargin));
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
        for (qsizetype i = 0; i < count; ++i)
            m_labels.PokazNalepke(queue.ListaNal[i], pageBitmap);
    } catch (const AppError& error) {
        failure = error.text(); // the labels drawn so far stay, the later ones are not drawn
    }
    if (Image)
        Image->setPixmap(QPixmap::fromImage(pageBitmap));
    if (!failure.isEmpty())
        m_labels.dialogs().message(
            {failure, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error});
}

void TNal1::clearPage()
{
    pageBitmap.fill(0);
}

void TNal1::printTestPage()
{
    // The page image is set aside for the sample sheet and put back afterwards.
    QLabel* image = std::exchange(Image, nullptr);
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
