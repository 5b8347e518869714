#pragma once

#include "platform/desktop/dialogs.h"

#include <functional>
#include <QList>
#include <QStringList>

// Answers questions from a script and records every message shown. A question that the script
// does not answer fails the test and is answered No.
class ScriptedDialogs : public Dialogs {
public:
    MessageAnswer message(const Message& message) override;
    void notify(const Message& message) override { m_shown << message; }
    void withdraw(const QString& text) override { withdrawn << text; }
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QString> openPicture(const QString& initialPath) override;
    std::optional<QString> openFile(const QString& fileName, const QString& folder) override;

    // The next common dialog answers with `font` or `path`, or is cancelled (nullopt).
    void answerFont(std::optional<QFont> font) { m_fonts << font; }
    void answerPath(std::optional<QString> path) { m_paths << path; }
    // What the common dialogs were opened with, in order.
    const QStringList& dialogStarts() const { return m_starts; }

    void answer(MessageAnswer answer) { m_answers << answer; }
    const QList<Message>& shown() const { return m_shown; }
    QStringList withdrawn;
    void clear() { m_shown.clear(); }
    bool scriptUsedUp() const { return m_answers.isEmpty(); }

    // Runs while a question is open, as other events of the program then may.
    std::function<void(const Message&)> whileAsked;
    // Runs while any message is open, a report too: a real message box takes the focus then.
    std::function<void(const Message&)> whileShown;

private:
    QList<MessageAnswer> m_answers;
    QList<Message> m_shown;
    QList<std::optional<QFont>> m_fonts;
    QList<std::optional<QString>> m_paths;
    QStringList m_starts;
};

// For readable failures.
void PrintTo(const Message& message, std::ostream* out);
