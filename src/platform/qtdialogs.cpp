#include "platform/qtdialogs.h"

#include <memory>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox* messageBox(const Message& message)
{
    const bool question = message.buttons == MessageButtons::YesNo;
    auto* box = new QMessageBox(boxIcon(message.icon), message.caption, message.text,
                                question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

} // namespace

MessageAnswer QtDialogs::message(const Message& message)
{
    const std::unique_ptr<QMessageBox> box(messageBox(message));
    const int pressed = box->exec();
    if (message.buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void QtDialogs::notify(const Message& message)
{
    QMessageBox* box = messageBox(message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}
