#pragma once

#include <QSpinBox>

// A spin box of at most two characters that takes digits and a sign only, and lets them be typed
// in any state: the handlers decide what a typed value means, a lone sign included. It steps by 1
// with its arrows and the Up and Down keys, and is clamped into its range whenever its value is
// set or the focus moves from it to another control.
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

    // The integer of the text, or the minimum when the text is not an integer.
    int currentValue() const;
    QString text() const;
    void setText(const QString& text);
    // Sets the clamped value; the change signal follows when the text changes.
    void setClampedValue(int value);

signals:
    // The text changed, by the user or by the program.
    void changed();

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void focusOutEvent(QFocusEvent* event) override;
};
