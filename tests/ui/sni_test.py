#!/usr/bin/python3
"""qov's tray icon over StatusNotifierItem, the path of KDE, GNOME's
AppIndicator extension and most panels: a watcher on the private session bus,
as a panel runs it, then qov --tray. Reads the item's icon, tooltip and menu,
and activates it. Run by bridge_test.sh, with its check() and wait_for(); the
status is 0 when nothing failed."""
import datetime
import subprocess
import sys

from gi.repository import Gio, GLib

import bridge_test
from bridge_test import check, wait_for

WATCHER = Gio.DBusNodeInfo.new_for_xml("""<node><interface name="org.kde.StatusNotifierWatcher">
 <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
 <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
 <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
 <property name="ProtocolVersion" type="i" access="read"/></interface></node>""").interfaces[0]
items = []  # (bus name, object path) of each registered item


def register(bus, sender, path, iface, method, args, invocation):
    name = args.unpack()[0]
    items.append((sender, name) if name.startswith("/") else (name, "/StatusNotifierItem"))
    invocation.return_value(None)


def prop(bus, sender, path, iface, name):
    return {"RegisteredStatusNotifierItems": GLib.Variant("as", [n for n, _ in items]),
            "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
            "ProtocolVersion": GLib.Variant("i", 0)}[name]


bus = Gio.bus_get_sync(Gio.BusType.SESSION)
bus.register_object("/StatusNotifierWatcher", WATCHER, register, prop, None)
Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher", 0, None, None)
wait_for(lambda: False, 0.5)  # the name is ours before qov looks for it
qov = subprocess.Popen([sys.argv[1], "--tray"])
if not wait_for(lambda: items):
    sys.exit("FAIL: qov --tray registered no item with the watcher")
service, path = items[0]


def call(iface, method, signature, args, path=path):
    return bus.call_sync(service, path, iface, method, GLib.Variant(signature, args), None, 0, 5000, None).unpack()


item = call("org.freedesktop.DBus.Properties", "GetAll", "(s)", ("org.kde.StatusNotifierItem",))[0]
# The leaf's red band: its top rows, in the largest pixmap (ARGB, big-endian).
w, h, argb = max(item["IconPixmap"], key=lambda p: p[0])
top = [argb[i:i + 4] for i in range(0, w * (h // 5) * 4, 4)]
red = sum(a > 200 and r > 200 and g < 60 and b < 60 for a, r, g, b in top)
check(f"the {w} px icon has the red band", red > len(top) // 2, red)
today = datetime.date.today()
tip = " ".join(str(t) for t in item["ToolTip"][2:])
check("the tooltip gives today", f"{today.year}年{today.month}月{today.day}日" in tip and "农历" in tip, tip)
layout = call("com.canonical.dbusmenu", "GetLayout", "(iias)", (0, -1, []), item["Menu"])[1]
labels = [child[1].get("label", "") for child in layout[2]]
check("the menu offers 显示日历 .. 退出", "显示日历" in labels and "退出" in labels, labels)
call("org.kde.StatusNotifierItem", "Activate", "(ii)", (0, 0))
shown = wait_for(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "万年历"],
                                        capture_output=True).returncode == 0)
check("activating the item shows the window", shown, shown)
qov.terminate()
sys.exit(bridge_test.failed > 0)
