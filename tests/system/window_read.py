# Reads the window of the program with process id PID through its
# accessibility tree.
#   window_read.py ip PID      "text|tooltip|x y w h" of the IP address label,
#                              or nothing when no label carries an address
#   window_read.py graph PID   the graph's tooltip (speeds, load and memory)
#   window_read.py button PID  the caption of the Free Memory window's button
import sys

import pyatspi

what, pid = sys.argv[1], int(sys.argv[2])
for app in pyatspi.Registry.getDesktop(0):
    if app is None or app.get_process_id() != pid:
        continue
    if what == "ip":
        found = pyatspi.findDescendant(
            app, lambda a: a.getRoleName() == "label" and a.description.startswith("Your IP address is "))
        if found:
            e = found.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            print("%s|%s|%d %d %d %d" % (found.name, found.description, e.x, e.y, e.width, e.height))
    elif what == "button":
        found = pyatspi.findDescendant(
            app, lambda a: a.getRoleName() == "push button" and (a.name.startswith("Free") or "Stop" in a.name))
        if found:
            print(found.name)
    else:
        found = pyatspi.findDescendant(app, lambda a: a.description.startswith("DL: "))
        if found:
            print(found.description)
