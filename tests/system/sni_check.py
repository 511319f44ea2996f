#!/usr/bin/python3
"""Reads the program's StatusNotifierItem over D-Bus while it sits hidden in
the tray: the picture (green bars while traffic flows, the globe while idle).
Needs the StatusNotifierWatcher stand-in on the session bus.
Usage: sni_check.py picture MIN_GREEN|idle, or for every live item:
sni_check.py titles (one tooltip a line) or activate-item REGEX (the item
whose tooltip matches)."""
import re
import sys

import dbus

bus = dbus.SessionBus()
watcher = bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
calls = watcher.GetMethodCalls("RegisterStatusNotifierItem", dbus_interface="org.freedesktop.DBus.Mock")
if not calls:
    print("no item registered")
    sys.exit(1)
what = sys.argv[1]


def live_items():
    """(item, tooltip title) of every registered item whose program still answers."""
    found = []
    for call in calls:
        service = str(call[1][0])
        try:
            item = bus.get_object(service, "/StatusNotifierItem")
            title = dbus.Interface(item, "org.freedesktop.DBus.Properties").Get("org.kde.StatusNotifierItem", "ToolTip")[2]
            found.append((item, str(title)))
        except dbus.exceptions.DBusException:
            pass
    return found


if what == "titles":
    for _, title in live_items():
        print(repr(title))
    sys.exit(0)
if what == "activate-item":
    for item, title in live_items():
        if re.search(sys.argv[2], title):
            item.Activate(600, 400, dbus_interface="org.kde.StatusNotifierItem")
            sys.exit(0)
    sys.exit(1)

# The newest item's picture.
item = bus.get_object(str(calls[-1][1][0]), "/StatusNotifierItem")
pixmaps = dbus.Interface(item, "org.freedesktop.DBus.Properties").Get("org.kde.StatusNotifierItem", "IconPixmap")
width, height, data = max(pixmaps, key=lambda p: p[0])
data = bytes(data)  # ARGB32, network byte order
if what == "picture":
    green = sum(1 for i in range(0, len(data), 4) if data[i + 1] < 80 and data[i + 2] > 200 and data[i + 3] < 80)
    print(f"{width}x{height}, {green} green pixels")
    sys.exit(0 if width == 32 and height == 32 and green >= int(sys.argv[2]) else 1)
if what == "idle":
    blue = sum(1 for i in range(0, len(data), 4) if data[i + 3] > 150 and data[i + 1] < 100)
    print(f"{width}x{height}, {blue} blue pixels")
    sys.exit(0 if blue > 50 else 1)  # the globe
sys.exit(2)
