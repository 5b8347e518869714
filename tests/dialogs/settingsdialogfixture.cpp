#include "settingsdialogfixture.h"

#include <QTest>

void SettingsDialog::activate()
{
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
}
