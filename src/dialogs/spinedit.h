#pragma once

#include <QSpinBox>

// A spin box of at most two characters that, like the settings dialog's boxes always did,
// lets any text be typed: the handlers decide what a typed value means. It steps by 1 with its
// arrows and the Up and Down keys, and is clamped into its range whenever its value is set or
// it loses the focus.
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
    void fixup(QString& input) const override;
    void focusOutEvent(QFocusEvent* event) override;
};
