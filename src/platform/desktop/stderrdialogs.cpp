#include "platform/desktop/stderrdialogs.h"

namespace {

// Control characters other than line breaks and tabs are written as their pictures (a NUL as
// U+2400): a byte that ends a C string or moves the cursor would hide the rest of the report.
QString visible(QString text)
{
    for (QChar& c : text)
        if (c.unicode() < u' ' && c != u'\n' && c != u'\t')
            c = QChar(u'\u2400' + c.unicode());
    return text;
}

} // namespace

MessageAnswer StderrDialogs::message(const Message& message)
{
    if (message.buttons == MessageButtons::YesNo) {
        write(message.text + QStringLiteral(" (odpowiedź: Nie)"));
        return MessageAnswer::No;
    }
    if (m_written.contains(message.text))
        return MessageAnswer::Ok;
    m_written.insert(message.text);
    write(message.text);
    if (message.icon != MessageIcon::Exclamation)
        ++m_faults;
    return MessageAnswer::Ok;
}

void StderrDialogs::write(const QString& text)
{
    const QByteArray line = "zelk_nal: " + visible(text).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, line.size(), m_out);
    std::fflush(m_out);
}
