// The titles of the top-level windows of a private X server: the root's children, and the client
// windows that a window manager has moved into frames of its own.
#include "platform/desktop/windowtitles.h"
#include "virtualdesktop.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <list>
#include <QStandardPaths>
#include <xcb/xcb.h>

namespace {

const QString title = QStringLiteral("zelk-okno");

class X11WindowTitles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!desktop.available() || QStandardPaths::findExecutable("xmessage").isEmpty())
            GTEST_SKIP() << "Xvfb, xdotool and xmessage are needed";
        connection = xcb_connect(desktop.display().toLocal8Bit().constData(), nullptr);
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    }
    void TearDown() override
    {
        for (QProcess& program : programs) {
            program.kill();
            program.waitForFinished();
        }
        xcb_disconnect(connection);
    }

    void run(const QString& program, const QStringList& arguments)
    {
        QProcess& process = programs.emplace_back();
        process.setProcessEnvironment(desktop.environment());
        process.start(program, arguments);
    }
    // A foreign program's window titled `name`.
    xcb_window_t foreignWindow(const QString& name)
    {
        run(QStringLiteral("xmessage"), {QStringLiteral("-title"), name, name});
        return desktop.waitForWindow(name, false).toUInt();
    }
    xcb_window_t parentOf(xcb_window_t window) const
    {
        auto* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
        const xcb_window_t parent = tree ? tree->parent : 0;
        free(tree);
        return parent;
    }
    QStringList titles() const
    {
        return makeX11WindowTitles(desktop.display().toLocal8Bit())->topLevelTitles();
    }

    VirtualDesktop desktop;
    std::list<QProcess> programs;
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
};

// As a window manager that keeps no list of its clients frames a window.
TEST_F(X11WindowTitles, AWindowInsideAnotherTopLevelWindowIsFound)
{
    const xcb_window_t frame = foreignWindow(QStringLiteral("ramka"));
    const xcb_window_t client = foreignWindow(title);
    xcb_reparent_window(connection, client, frame, 0, 0);
    xcb_flush(connection);
    ASSERT_TRUE(waitUntil([&] { return parentOf(client) == frame; }, 5000));
    EXPECT_TRUE(titles().contains(title));
}

// Openbox frames every window it shows and lists them in _NET_CLIENT_LIST.
TEST_F(X11WindowTitles, AWindowFramedByOpenboxIsFound)
{
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        GTEST_SKIP() << "openbox is not installed";
    run(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    const xcb_window_t client = foreignWindow(title);
    ASSERT_TRUE(waitUntil([&] { return parentOf(client) != root; }, 10000));
    // The manager lists the window a moment after it has framed it.
    EXPECT_TRUE(waitUntil([&] { return titles().contains(title); }, 5000));
}

} // namespace
