// The page preview: the first sheet of the composed labels on the page image.
#include "main/tnal1.h"

#include "main/texts.h"
#include "platform/apperror.h"

#include <QLabel>
#include <QPixmap>

void TNal1::PokazStrone()
{
    repaint();
    if (pageBitmap.isNull())
        return;
    const qsizetype count = qMin(queue.ListaNal.size(), qsizetype(settings.labelsPerSheet()));
    QString failure;
    try {
        for (qsizetype i = 0; i < count; ++i)
            PokazNalepke(queue.ListaNal[i], pageBitmap);
    } catch (const AppError& error) {
        failure = error.text(); // the labels drawn so far stay, the later ones are not drawn
    }
    if (Image)
        Image->setPixmap(QPixmap::fromImage(pageBitmap));
    if (!failure.isEmpty())
        m_services.dialogs->message(
            {failure, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error});
}

void TNal1::clearPage()
{
    pageBitmap.fill(0);
}
