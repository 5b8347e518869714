#include "dialogs/spinedit.h"

#include <QLineEdit>

SpinEdit::SpinEdit(int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(true);
    lineEdit()->setMaxLength(2);
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

QValidator::State SpinEdit::validate(QString& input, int&) const
{
    return input.size() <= 2 ? QValidator::Acceptable : QValidator::Invalid;
}

void SpinEdit::fixup(QString& input) const
{
    input = QString::number(qBound(minimum(), currentValue(), maximum()));
}

void SpinEdit::focusOutEvent(QFocusEvent* event)
{
    setClampedValue(currentValue());
    QSpinBox::focusOutEvent(event);
}
