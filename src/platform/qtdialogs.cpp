#include "platform/qtdialogs.h"

#include "platform/picturedialog.h"

#include <cstdio>
#include <memory>
#include <QFileDialog>
#include <QFontDialog>
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
    if (m_stopped) {
        std::fprintf(stderr, "zelk_nal: %s\n", qUtf8Printable(message.text));
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    const std::unique_ptr<QMessageBox> box(messageBox(message));
    const int pressed = box->exec();
    if (message.buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void QtDialogs::notify(const Message& message)
{
    if (m_stopped)
        return;
    QMessageBox* box = messageBox(message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial)
{
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, initial, nullptr, QString(), QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtDialogs::openPicture(const QString& initialPath)
{
    PictureDialog dialog(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtDialogs::openFile(const QString& fileName, const QString& folder)
{
    QFileDialog dialog(nullptr, QString(), folder);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}
