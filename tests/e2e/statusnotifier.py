#!/usr/bin/python3
"""The desktop's side of a StatusNotifierItem tray, on the session bus of DBUS_SESSION_BUS_ADDRESS.

  watch              the watcher with a host; prints "<bus name> <pid>" for each item
  menu NAME          the labels of the item's menu, one a line ("_" before the mnemonic)
  activate NAME      a left click on the item
  click NAME LABEL   a click on the menu entry with that label (not waited for: it may open a
                     modal window)
"""
import sys

from gi.repository import Gio, GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
WATCHER_XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
"""


def watch():
    items = []
    info = Gio.DBusNodeInfo.new_for_xml(WATCHER_XML).interfaces[0]

    def on_call(conn, sender, path, iface, method, params, invocation):
        if method == "RegisterStatusNotifierItem":
            # Qt names its connection, and the item sits at the default path.
            service = params.unpack()[0] or sender
            items.append(service)
            pid = conn.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                 "org.freedesktop.DBus", "GetConnectionUnixProcessID",
                                 GLib.Variant("(s)", (service,)), None,
                                 Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
            print(service, pid, flush=True)
            conn.emit_signal(None, path, WATCHER, "StatusNotifierItemRegistered",
                             GLib.Variant("(s)", (service,)))
        invocation.return_value(None)

    def on_property(conn, sender, path, iface, name):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", items),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
                "ProtocolVersion": GLib.Variant("i", 0)}[name]

    def on_bus(conn, name):
        conn.register_object("/StatusNotifierWatcher", info, on_call, on_property, None)

    def on_name(conn, name):
        print("ready", flush=True)

    Gio.bus_own_name(Gio.BusType.SESSION, WATCHER, Gio.BusNameOwnerFlags.NONE,
                     on_bus, on_name, lambda *_: sys.exit("the watcher's name is taken"))
    GLib.MainLoop().run()


def call(bus, name, path, iface, method, args, signature):
    return bus.call_sync(name, path, iface, method, GLib.Variant(signature, args), None,
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()


def menu_entries(bus, name):
    """(id, label) of each visible entry of the item's menu, top to bottom."""
    path = call(bus, name, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                (ITEM, "Menu"), "(ss)")[0]
    _, (_, _, children) = call(bus, name, path, MENU, "GetLayout", (0, -1, []), "(iias)")
    entries = [(child[0], child[1].get("label", ""))
               for child in children if child[1].get("visible", True)]
    return path, entries


def main(args):
    if args[:1] == ["watch"]:
        return watch()
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    command, name = args[0], args[1]
    if command == "menu":
        for _, label in menu_entries(bus, name)[1]:
            print(label)
    elif command == "activate":
        call(bus, name, "/StatusNotifierItem", ITEM, "Activate", (0, 0), "(ii)")
    elif command == "click":
        path, entries = menu_entries(bus, name)
        ids = [id_ for id_, label in entries if label.replace("_", "") == args[2]]
        if not ids:
            sys.exit("no entry " + args[2])
        message = Gio.DBusMessage.new_method_call(name, path, MENU, "Event")
        message.set_body(GLib.Variant("(isvu)", (ids[0], "clicked", GLib.Variant("i", 0), 0)))
        message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
        bus.send_message(message, Gio.DBusSendMessageFlags.NONE)
        bus.flush_sync(None)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
