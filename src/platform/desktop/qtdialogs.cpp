#include "platform/desktop/qtdialogs.h"

#include "platform/desktop/picturedialog.h"

#include <cstdio>
#include <memory>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
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

// A widget about to be hidden leaves its grid row as high as it was, so that a widget spanning
// that row beside it keeps its size.
void keepRowHeight(QGridLayout& grid, QWidget& widget)
{
    int row = 0;
    int column = 0;
    int rowSpan = 0;
    int columnSpan = 0;
    grid.getItemPosition(grid.indexOf(&widget), &row, &column, &rowSpan, &columnSpan);
    grid.setRowMinimumHeight(row, widget.sizeHint().height());
}

// Qt's font dialog has no option to leave out its effects (strike-out, underline): their group
// is the one that holds check boxes. The sample beside it keeps its height.
void hideEffects(QFontDialog& dialog)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (!group->findChild<QCheckBox*>())
            continue;
        if (grid && grid->indexOf(group) >= 0)
            keepRowHeight(*grid, *group);
        group->hide();
    }
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
    if (m_stopped || m_notices.value(message.text))
        return;
    QMessageBox* box = messageBox(message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    m_notices.removeIf([](const auto& notice) { return notice.value().isNull(); });
    m_notices.insert(message.text, box);
}

void QtDialogs::withdraw(const QString& text)
{
    if (const QPointer<QMessageBox> box = m_notices.take(text))
        box->close();
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial)
{
    QFontDialog dialog;
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(initial);
    hideEffects(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
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
