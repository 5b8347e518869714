#include <gtest/gtest.h>
#include <QApplication>
#include <QLoggingCategory>

// Tests run on Qt's offscreen platform unless told otherwise; tests that need a real X server
// start the program as a separate process.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The tray icon complains on the offscreen platform, which has no tray.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.core.qobject.connect=false"));
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
