#include "platform/qtdialogs.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
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

} // namespace

MessageAnswer QtDialogs::message(const Message& message) {
    const bool question = message.buttons == MessageButtons::YesNo;
    QMessageBox box(boxIcon(message.icon), message.caption, message.text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const int pressed = box.exec();
    if (!question)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}
