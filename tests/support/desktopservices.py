#!/usr/bin/env python3
"""Stand-ins for two services of a desktop session, on the bus of DBUS_SESSION_BUS_ADDRESS:
a notification service and a StatusNotifierItem watcher whose host is registered. Each call
they take is one line on standard output: "notify SUMMARY|BODY", "item SERVICE"."""
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
NOTIFICATIONS = "org.freedesktop.Notifications"


def say(*words):
    print(*words, flush=True)


class Notifications(dbus.service.Object):
    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        say("notify", f"{summary}|{body}")
        return 1

    @dbus.service.method(NOTIFICATIONS, out_signature="as")
    def GetCapabilities(self):
        return ["body"]


class Watcher(dbus.service.Object):
    # Qt reads the host's property through an interface made from the introspection data,
    # which has to name it.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return f"""<node><interface name="{WATCHER}">
            <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
            <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
            <property name="ProtocolVersion" type="i" access="read"/>
            <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
            </interface></node>"""

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierItem(self, service):
        say("item", service)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"IsStatusNotifierHostRegistered": True, "ProtocolVersion": 0,
                "RegisteredStatusNotifierItems": dbus.Array([], signature="s")}


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
names = [dbus.service.BusName(name, bus) for name in (NOTIFICATIONS, WATCHER)]
Notifications(bus, "/org/freedesktop/Notifications")
Watcher(bus, "/StatusNotifierWatcher")
GLib.MainLoop().run()
