// The titles of the top-level windows of a private X server, read as the single-instance guard
// reads them: the root's children, and the client windows that a window manager has moved into
// its frames.
#include "platform/windowtitles.h"
#include "virtualdesktop.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <QStandardPaths>
#include <xcb/xcb.h>

namespace {

const QString title = QStringLiteral("Drukowanie kodów kreskowych");

// The test's own connection, which plays the foreign program and, where needed, the window
// manager.
class XClient {
public:
    explicit XClient(const QString& display)
        : m_connection(xcb_connect(display.toLocal8Bit().constData(), nullptr))
        , m_root(xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root)
    {
    }
    ~XClient() { xcb_disconnect(m_connection); }
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    xcb_window_t root() const { return m_root; }

    // A window of `parent`; titled as Qt titles its windows when `name` is not empty.
    xcb_window_t window(xcb_window_t parent, const QString& name = {}, bool mapped = true)
    {
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, parent, 10, 10, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (!name.isEmpty()) {
            const QByteArray utf8 = name.toUtf8();
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_NAME"),
                                atom("UTF8_STRING"), 8, utf8.size(), utf8.constData());
        }
        if (mapped)
            xcb_map_window(m_connection, window);
        sync();
        return window;
    }

    void reparent(xcb_window_t window, xcb_window_t parent)
    {
        xcb_reparent_window(m_connection, window, parent, 0, 0);
        sync();
    }

    // The root's list of managed windows, as a window manager keeps it; none without `clients`.
    void setClientList(const std::optional<std::vector<xcb_window_t>>& clients)
    {
        if (clients)
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root,
                                atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32,
                                uint32_t(clients->size()), clients->data());
        else
            xcb_delete_property(m_connection, m_root, atom("_NET_CLIENT_LIST"));
        sync();
    }

    xcb_window_t parentOf(xcb_window_t window)
    {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr);
        const xcb_window_t parent = tree ? tree->parent : xcb_window_t(XCB_WINDOW_NONE);
        free(tree);
        return parent;
    }

private:
    xcb_atom_t atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return result;
    }
    // Waits until the server has handled every request sent.
    void sync()
    {
        free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
};

class X11WindowTitles : public ::testing::Test {
protected:
    static void SetUpTestSuite() { desktop = new VirtualDesktop; }
    static void TearDownTestSuite()
    {
        delete desktop;
        desktop = nullptr;
    }
    void SetUp() override
    {
        if (!desktop->available())
            GTEST_SKIP() << "Xvfb and xdotool are not installed";
        client = std::make_unique<XClient>(desktop->display());
    }

    QStringList titles() const
    {
        return makeX11WindowTitles(desktop->display().toLocal8Bit())->topLevelTitles();
    }

    static VirtualDesktop* desktop;
    std::unique_ptr<XClient> client;
};

VirtualDesktop* X11WindowTitles::desktop = nullptr;

// A window manager that keeps no list of its clients.
TEST_F(X11WindowTitles, AClientInsideAFrameIsFound)
{
    const xcb_window_t frame = client->window(client->root());
    client->reparent(client->window(client->root(), title), frame);
    EXPECT_TRUE(titles().contains(title));
}

// A window manager that keeps the list, with a frame two windows deep.
TEST_F(X11WindowTitles, AClientDeeperInItsFrameIsFoundThroughTheClientList)
{
    const xcb_window_t frame = client->window(client->root());
    const xcb_window_t wrapper = client->window(frame);
    const xcb_window_t titled = client->window(client->root(), title);
    client->reparent(titled, wrapper);
    EXPECT_FALSE(titles().contains(title));
    client->setClientList(std::vector{wrapper, titled});
    EXPECT_TRUE(titles().contains(title));
    client->setClientList(std::nullopt);
}

// Openbox moves every window it manages into a frame of its own.
TEST_F(X11WindowTitles, UnderAReparentingWindowManagerShownAndHiddenWindowsAreFound)
{
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        GTEST_SKIP() << "openbox is not installed";
    QProcess manager;
    manager.setProcessEnvironment(desktop->environment());
    manager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    ASSERT_TRUE(manager.waitForStarted());
    const xcb_window_t shown = client->window(client->root(), title);
    const bool framed = waitUntil([&] { return client->parentOf(shown) != client->root(); }, 10000);
    client->window(client->root(), title + QStringLiteral(" (ukryte)"), false);
    const QStringList found = titles();
    manager.terminate();
    manager.waitForFinished(3000);
    client->setClientList(std::nullopt); // the list outlives its manager

    ASSERT_TRUE(framed) << "openbox did not frame the window";
    EXPECT_TRUE(found.contains(title));
    EXPECT_TRUE(found.contains(title + QStringLiteral(" (ukryte)")));
}

} // namespace
