#!/usr/bin/env python3
# Stand-ins on the session bus for a notification service and a StatusNotifierItem watcher with a
# host; each call they take is a line on standard output: "notify SUMMARY|BODY", "item SERVICE".
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
NOTIFICATIONS = "org.freedesktop.Notifications"


class Notifications(dbus.service.Object):
    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        print("notify", f"{summary}|{body}", flush=True)
        return 1


class Watcher(dbus.service.Object):
    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierItem(self, service):
        print("item", service, flush=True)

    # Qt reads the host's property through an interface built from the introspection data.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return f"""<node><interface name="{WATCHER}">
            <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
            <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
            </interface></node>"""

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return {"IsStatusNotifierHostRegistered": True}[name]


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
names = [dbus.service.BusName(name, bus) for name in (NOTIFICATIONS, WATCHER)]
Notifications(bus, "/org/freedesktop/Notifications")
Watcher(bus, "/StatusNotifierWatcher")
GLib.MainLoop().run()
