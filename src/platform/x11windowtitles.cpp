#include "platform/windowtitles.h"

#include <cstdlib>
#include <cstring>
#include <QGuiApplication>
#include <xcb/xcb.h>

namespace {

constexpr int kMaxTitleLength = 256;

class NoWindowTitles : public WindowTitles {
public:
    QStringList topLevelTitles() override { return {}; }
};

// Reads the children of the root window over its own connection: _NET_WM_NAME (UTF-8) where
// it is set, else WM_NAME (Latin-1).
class X11WindowTitles : public WindowTitles {
public:
    QStringList topLevelTitles() override;

private:
    static xcb_atom_t atom(xcb_connection_t* connection, const char* name);
    static QString property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                            xcb_atom_t type, bool utf8);
};

xcb_atom_t X11WindowTitles::atom(xcb_connection_t* connection, const char* name)
{
    auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

QString X11WindowTitles::property(xcb_connection_t* connection, xcb_window_t window,
                                  xcb_atom_t name, xcb_atom_t type, bool utf8)
{
    auto cookie = xcb_get_property(connection, 0, window, name, type, 0, kMaxTitleLength);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    QString text;
    if (reply && reply->format == 8) {
        const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply));
        const int length = xcb_get_property_value_length(reply);
        text = utf8 ? QString::fromUtf8(bytes, length) : QString::fromLatin1(bytes, length);
    }
    free(reply);
    return text;
}

QStringList X11WindowTitles::topLevelTitles()
{
    QStringList titles;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return titles;
    }
    const xcb_atom_t netWmName = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8String = atom(connection, "UTF8_STRING");
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screens.rem; xcb_screen_next(&screens)) {
        auto cookie = xcb_query_tree(connection, screens.data->root);
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, cookie, nullptr);
        if (!tree)
            continue;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            QString title = property(connection, children[i], netWmName, utf8String, true);
            if (title.isEmpty())
                title = property(connection, children[i], XCB_ATOM_WM_NAME, XCB_ATOM_STRING, false);
            titles << title;
        }
        free(tree);
    }
    xcb_disconnect(connection);
    return titles;
}

} // namespace

std::unique_ptr<WindowTitles> makeDesktopWindowTitles()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return std::make_unique<X11WindowTitles>();
    return std::make_unique<NoWindowTitles>();
}
