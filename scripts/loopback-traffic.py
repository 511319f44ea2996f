# About 1 MiB/s of UDP to the discard port of loopback for SECONDS, the
# traffic the benchmarks measure under.
#   python3 scripts/loopback-traffic.py SECONDS
import socket
import sys
import time

s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
end = time.time() + float(sys.argv[1])
while time.time() < end:
    for _ in range(70):
        s.sendto(b"x" * 1500, ("127.0.0.1", 9))
    time.sleep(0.1)
