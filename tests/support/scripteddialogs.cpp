#include "scripteddialogs.h"

#include <gtest/gtest.h>
#include <ostream>

MessageAnswer ScriptedDialogs::message(const Message& message)
{
    m_shown << message;
    if (whileShown)
        whileShown(message);
    if (message.buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (whileAsked)
        whileAsked(message);
    if (m_answers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << message.text.toStdString();
        return MessageAnswer::No;
    }
    return m_answers.takeFirst();
}

std::optional<QFont> ScriptedDialogs::chooseFont(const QFont& initial)
{
    m_starts << initial.family();
    if (m_fonts.isEmpty()) {
        ADD_FAILURE() << "unexpected font dialog";
        return std::nullopt;
    }
    return m_fonts.takeFirst();
}

std::optional<QString> ScriptedDialogs::openPicture(const QString& initialPath)
{
    m_starts << initialPath;
    if (m_paths.isEmpty()) {
        ADD_FAILURE() << "unexpected picture dialog";
        return std::nullopt;
    }
    return m_paths.takeFirst();
}

std::optional<QString> ScriptedDialogs::openFile(const QString& fileName, const QString& folder)
{
    m_starts << folder + fileName;
    if (m_paths.isEmpty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return std::nullopt;
    }
    return m_paths.takeFirst();
}

void PrintTo(const Message& message, std::ostream* out)
{
    *out << "{\"" << message.text.toStdString() << "\", \"" << message.caption.toStdString()
         << "\", buttons " << int(message.buttons) << ", icon " << int(message.icon) << "}";
}
