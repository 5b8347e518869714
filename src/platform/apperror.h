#pragma once

#include <exception>
#include <QByteArray>
#include <QString>

// The program's one error type: it carries the text that the user is shown.
class AppError : public std::exception {
public:
    explicit AppError(QString text)
        : m_text(std::move(text))
        , m_utf8(m_text.toUtf8())
    {
    }

    const QString& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

// The texts of the platform's standard errors, as the user knows them.
namespace StandardErrors {
inline QString rangeCheck()
{
    return QStringLiteral("Range check error");
}
inline QString notAnInteger(const QString& value)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(value);
}
inline QString streamRead()
{
    return QStringLiteral("Stream read error");
}
} // namespace StandardErrors
