#include "settingsdialogfixture.h"

#include <QApplication>
#include <QTest>

void SettingsDialog::activate()
{
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
}
