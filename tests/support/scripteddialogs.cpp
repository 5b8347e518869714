#include "scripteddialogs.h"

#include <gtest/gtest.h>
#include <ostream>

MessageAnswer ScriptedDialogs::message(const Message& message)
{
    m_shown << message;
    if (message.buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (m_answers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << message.text.toStdString();
        return MessageAnswer::No;
    }
    return m_answers.takeFirst();
}

void PrintTo(const Message& message, std::ostream* out)
{
    *out << "{\"" << message.text.toStdString() << "\", \"" << message.caption.toStdString()
         << "\", buttons " << int(message.buttons) << ", icon " << int(message.icon) << "}";
}
