#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The about box: the program's description and its version. Created once, hidden, and shown
// by the main window's "&O programie"; "OK" hides it again.
class TNal4 : public QWidget {
    Q_OBJECT
public:
    explicit TNal4(QWidget* parent = nullptr);

    void showAbout();

    QLabel* Label11 = nullptr; // the version
    QPushButton* Button1 = nullptr;

private:
    QLabel* addLabel(const QString& text, QRect geometry, const QFont& font);
};
