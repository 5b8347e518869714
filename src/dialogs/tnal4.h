#pragma once

#include <QWidget>

// The about box: the program's description and its version. Created once, hidden, and shown
// by the main window's "&O programie".
class TNal4 : public QWidget {
    Q_OBJECT
public:
    explicit TNal4(QWidget* parent = nullptr);

    void showAbout();
};
