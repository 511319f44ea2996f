# Pings a window as window managers do (_NET_WM_PING): the program answers
# on its window's thread, so the longest answer time over a stretch tells
# whether that thread was ever held up.
#   window_ping.py WINDOW_ID SECONDS   prints "longest_ms answered sent"
import sys
import time

from Xlib import X, display
from Xlib.protocol import event

window_id, seconds = int(sys.argv[1], 0), float(sys.argv[2])
d = display.Display()
root = d.screen().root
# Qt answers to the root window for the structure listeners.
root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
protocols, ping = d.intern_atom('WM_PROTOCOLS'), d.intern_atom('_NET_WM_PING')
target = d.create_resource_object('window', window_id)

longest, answered, sent = 0.0, 0, 0
end = time.monotonic() + seconds
while time.monotonic() < end:
    sent += 1
    stamp = sent  # tells the answers apart
    target.send_event(event.ClientMessage(window=target, client_type=protocols,
                                          data=(32, [ping, stamp, window_id, 0, 0])), event_mask=0)
    d.flush()
    asked = time.monotonic()
    # An answer is awaited for as long as it takes, up to the stretch's end
    # and a few seconds more: a held-up thread shows as a long answer.
    while time.monotonic() < end + 5:
        if d.pending_events() == 0:
            time.sleep(0.005)
            continue
        e = d.next_event()
        if e.type == X.ClientMessage and e.client_type == protocols and e.data[1][0] == ping \
                and e.data[1][1] == stamp:
            answered += 1
            longest = max(longest, time.monotonic() - asked)
            break
    time.sleep(0.1)
print("%d %d %d" % (round(longest * 1000), answered, sent))
