#pragma once

#include "platform/dialogs.h"

#include <QList>

// Answers questions from a script and records every message shown. A question that the script
// does not answer fails the test and is answered No.
class ScriptedDialogs : public Dialogs {
public:
    MessageAnswer message(const Message& message) override;
    void notify(const Message& message) override { m_shown << message; }

    void answer(MessageAnswer answer) { m_answers << answer; }
    const QList<Message>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }
    bool scriptUsedUp() const { return m_answers.isEmpty(); }

private:
    QList<MessageAnswer> m_answers;
    QList<Message> m_shown;
};

// For readable failures.
void PrintTo(const Message& message, std::ostream* out);
