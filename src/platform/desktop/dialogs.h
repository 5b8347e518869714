#pragma once

#include <optional>
#include <QFont>
#include <QString>

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Error, Exclamation, Question, Information };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    QString text;
    QString caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    friend bool operator==(const Message&, const Message&) = default;
};

// Every question and report the program puts to the user goes through this service, so that
// a test can answer from a script and read back exactly what was shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a message and waits for the user's answer.
    virtual MessageAnswer message(const Message& message) = 0;
    // Shows a message and goes on at once; the program keeps working while it is open. A
    // message whose text is open already is not shown a second time.
    virtual void notify(const Message& message) = 0;
    // Closes the message of this text that notify() showed, when it is still open: what it said
    // no longer holds.
    virtual void withdraw(const QString& text) = 0;

    // The common dialogs; each gives nothing when the user cancels.
    // A font dialog without the effects group (underline, strike-out and colour), opened on
    // `initial`'s family, style (by its name) and point size.
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    // Opening a Windows bitmap, with a preview pane; starts at `initialPath`.
    virtual std::optional<QString> openPicture(const QString& initialPath) = 0;
    // Opening any file, starting with `fileName` in `folder`.
    virtual std::optional<QString> openFile(const QString& fileName, const QString& folder) = 0;
};
