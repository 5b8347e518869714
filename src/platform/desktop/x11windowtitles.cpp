#include "platform/desktop/windowtitles.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <QGuiApplication>
#include <unordered_set>
#include <vector>
#include <xcb/xcb.h>

namespace {

constexpr int kMaxTitleLength = 256;

using Windows = std::vector<xcb_window_t>;

class NoWindowTitles : public WindowTitles {
public:
    QStringList topLevelTitles() override { return {}; }
};

struct Atoms {
    xcb_atom_t netWmName;
    xcb_atom_t utf8String;
    xcb_atom_t netClientList;
};

// Reads the top-level windows over its own connection: the children of the root window and,
// under a window manager that moves each window it shows into a frame of its own, the client
// windows in those frames: the ones the manager lists in the root's _NET_CLIENT_LIST, or, from
// a manager that keeps no such list, the frames' children. A title is _NET_WM_NAME (UTF-8)
// where it is set, else WM_NAME (Latin-1). Every request of a step is sent before the first
// reply is awaited, so a busy desktop costs a few round trips, not one per window.
class X11WindowTitles : public WindowTitles {
public:
    explicit X11WindowTitles(QByteArray display)
        : m_display(std::move(display))
    {
    }
    QStringList topLevelTitles() override;

private:
    QByteArray m_display;
};

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

// The children of every window of `parents`, in order.
Windows childrenOf(xcb_connection_t* connection, const Windows& parents)
{
    std::vector<xcb_query_tree_cookie_t> cookies;
    for (const xcb_window_t parent : parents)
        cookies.push_back(xcb_query_tree(connection, parent));
    Windows children;
    for (const xcb_query_tree_cookie_t cookie : cookies) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, cookie, nullptr);
        if (!tree)
            continue; // the window went away meanwhile
        const xcb_window_t* first = xcb_query_tree_children(tree);
        children.insert(children.end(), first, first + xcb_query_tree_children_length(tree));
        free(tree);
    }
    return children;
}

// The windows a window manager lists as its clients; nothing where no manager keeps the list.
std::optional<Windows> clientList(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t name)
{
    constexpr uint32_t mostClients = 65536;
    auto cookie = xcb_get_property(connection, 0, root, name, XCB_ATOM_WINDOW, 0, mostClients);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::optional<Windows> clients;
    if (reply && reply->type == XCB_ATOM_WINDOW && reply->format == 32) {
        const auto* first = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        clients.emplace(first, first + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return clients;
}

// The text property `name` of each window, empty where it is not set.
std::vector<QString> properties(xcb_connection_t* connection, const Windows& windows,
                                xcb_atom_t name, xcb_atom_t type, bool utf8)
{
    std::vector<xcb_get_property_cookie_t> cookies;
    for (const xcb_window_t window : windows)
        cookies.push_back(xcb_get_property(connection, 0, window, name, type, 0, kMaxTitleLength));
    std::vector<QString> texts;
    for (const xcb_get_property_cookie_t cookie : cookies) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
        QString& text = texts.emplace_back();
        if (reply && reply->format == 8) {
            const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply));
            const int length = xcb_get_property_value_length(reply);
            text = utf8 ? QString::fromUtf8(bytes, length) : QString::fromLatin1(bytes, length);
        }
        free(reply);
    }
    return texts;
}

QStringList titlesOn(xcb_connection_t* connection, xcb_window_t root, const Atoms& atoms)
{
    const Windows topLevel = childrenOf(connection, {root});
    const std::optional<Windows> listed = clientList(connection, root, atoms.netClientList);
    const Windows clients = listed ? *listed : childrenOf(connection, topLevel);
    Windows windows;
    std::unordered_set<xcb_window_t> seen;
    for (const Windows& found : {topLevel, clients}) {
        for (const xcb_window_t window : found)
            if (seen.insert(window).second)
                windows.push_back(window);
    }
    const std::vector<QString> netWmNames =
        properties(connection, windows, atoms.netWmName, atoms.utf8String, true);
    const std::vector<QString> wmNames =
        properties(connection, windows, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, false);
    QStringList titles;
    for (std::size_t i = 0; i < windows.size(); ++i)
        titles << (netWmNames[i].isEmpty() ? wmNames[i] : netWmNames[i]);
    return titles;
}

QStringList X11WindowTitles::topLevelTitles()
{
    xcb_connection_t* connection =
        xcb_connect(m_display.isEmpty() ? nullptr : m_display.constData(), nullptr);
    QStringList titles;
    if (!xcb_connection_has_error(connection)) {
        const Atoms atoms{atom(connection, "_NET_WM_NAME"), atom(connection, "UTF8_STRING"),
                          atom(connection, "_NET_CLIENT_LIST")};
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (; screens.rem; xcb_screen_next(&screens))
            titles << titlesOn(connection, screens.data->root, atoms);
    }
    xcb_disconnect(connection);
    return titles;
}

} // namespace

std::unique_ptr<WindowTitles> makeX11WindowTitles(const QByteArray& display)
{
    return std::make_unique<X11WindowTitles>(display);
}

std::unique_ptr<WindowTitles> makeDesktopWindowTitles()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return makeX11WindowTitles();
    return std::make_unique<NoWindowTitles>();
}
