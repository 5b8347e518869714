#include "platform/errorguard.h"

#include "platform/apperror.h"

#include <new>
#include <QDebug>

bool ErrorGuard::run(const std::function<void()>& action) const noexcept
{
    try {
        action();
        return true;
    } catch (const AppError& error) {
        report(error.text());
    } catch (const std::bad_alloc&) {
        report(QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
    return false;
}

void ErrorGuard::report(const QString& text) const noexcept
{
    try {
        m_dialogs.message({text, m_caption, MessageButtons::Ok, MessageIcon::Error});
    } catch (...) {
        qCritical("%s", qUtf8Printable(text));
    }
}
