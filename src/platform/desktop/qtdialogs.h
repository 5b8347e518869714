#pragma once

#include "platform/desktop/dialogs.h"

#include <QHash>
#include <QPointer>

class QMessageBox;
// Dialogs shown as real Qt message boxes.
class QtDialogs : public Dialogs {
public:
    // The program is ending: from now on no box is shown, so that nothing waits for a user.
    // Messages go to standard error and questions are answered No.
    void stopShowing() { m_stopped = true; }

    MessageAnswer message(const Message& message) override;
    void notify(const Message& message) override;
    void withdraw(const QString& text) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QString> openPicture(const QString& initialPath) override;
    std::optional<QString> openFile(const QString& fileName, const QString& folder) override;

private:
    bool m_stopped = false;
    QHash<QString, QPointer<QMessageBox>> m_notices; // open ones by their text
};
