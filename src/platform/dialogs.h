#pragma once

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
    // Shows a message and goes on at once; the program keeps working while it is open.
    virtual void notify(const Message& message) = 0;
};
