#pragma once

#include <QPushButton>

// A push button that marks its focus with a dotted frame inside its edge. Some styles draw the
// default button exactly as a focused one, so without the frame a user moving through the
// dialog with the keyboard could not tell that the default button has the focus.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
