#include "dialogs/spinedit.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

constexpr int kMaxLength = 2;

// Another window taking the focus (a message box, say) or a popup menu: the user has not left
// the box.
bool leavesTheWindow(const QFocusEvent& event)
{
    return event.reason() == Qt::ActiveWindowFocusReason || event.reason() == Qt::PopupFocusReason;
}

} // namespace

SpinEdit::SpinEdit(int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(true);
    lineEdit()->setMaxLength(kMaxLength);
    // Empty until the first value is set, so that setting any value is a change.
    lineEdit()->clear();
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::changed);
}

int SpinEdit::currentValue() const
{
    bool ok = false;
    const int value = text().trimmed().toInt(&ok);
    return ok ? value : minimum();
}

QString SpinEdit::text() const
{
    return lineEdit()->text();
}

void SpinEdit::setText(const QString& text)
{
    lineEdit()->setText(text);
}

void SpinEdit::setClampedValue(int value)
{
    setText(QString::number(qBound(minimum(), value, maximum())));
}

// Text on its way to a number (empty, or a lone sign) may stand; anything else is refused.
QValidator::State SpinEdit::validate(QString& input, int&) const
{
    static const QRegularExpression signAndDigits(QStringLiteral("^[+-]?[0-9]*$"));
    if (input.size() > kMaxLength || !signAndDigits.match(input).hasMatch())
        return QValidator::Invalid;
    const bool number = !input.isEmpty() && input.back().isDigit();
    return number ? QValidator::Acceptable : QValidator::Intermediate;
}

// Leaving the window neither clamps the text nor lets the spin box put its last value back.
void SpinEdit::focusOutEvent(QFocusEvent* event)
{
    if (leavesTheWindow(*event)) {
        QCoreApplication::sendEvent(lineEdit(), event);
        QWidget::focusOutEvent(event);
        return;
    }
    setClampedValue(currentValue());
    QSpinBox::focusOutEvent(event);
}
