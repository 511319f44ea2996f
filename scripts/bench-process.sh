#!/usr/bin/env bash
# The real program at one sample a second on a virtual desktop (Xvfb,
# openbox, a tray host) with loopback traffic: CPU milliseconds per minute
# and resident memory, beside an empty Qt window measured in the same run.
#   scripts/bench-process.sh [SECONDS]   (default 120)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
cmake --preset release >/dev/null
cmake --build --preset release --target trafalo bench_bare_window >/dev/null
source scripts/desktop.sh
desktop_start --tray
trap desktop_stop EXIT

ticks=$(getconf CLK_TCK)
cpu_ms() { awk -v t="$ticks" '{ print int(($14 + $15) * 1000 / t) }' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
pss_kib() { awk '/^Pss:/ { print $2 }' "/proc/$1/smaps_rollup"; }

mkdir -p "$XDG_CONFIG_HOME/Trafalo"
printf '[Setting]\nSmallUI=%s\n' "${TRAFALO_MODE:-0}" >"$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
build/release/trafalo >/dev/null 2>&1 &
widget=$!
build/release/bench/bench_bare_window >/dev/null 2>&1 &
bare=$!
/usr/bin/python3 - "$((seconds + 15))" <<'PY' &
import socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
end = time.time() + float(sys.argv[1])
while time.time() < end:  # about 1 MiB/s
    for _ in range(70):
        s.sendto(b"x" * 1500, ("127.0.0.1", 9))
    time.sleep(0.1)
PY
traffic=$!
sleep 10 # settle
w0=$(cpu_ms "$widget")
b0=$(cpu_ms "$bare")
sleep "$seconds"
w1=$(cpu_ms "$widget")
b1=$(cpu_ms "$bare")
printf '%-26s %14s %10s %10s\n' "over ${seconds}s" "CPU ms/min" "RSS MiB" "PSS MiB"
printf '%-26s %14.1f %10.1f %10.1f\n' "trafalo" "$(echo "($w1 - $w0) * 60 / $seconds" | bc -l)" \
    "$(echo "$(rss_kib "$widget") / 1024" | bc -l)" "$(echo "$(pss_kib "$widget") / 1024" | bc -l)"
printf '%-26s %14.1f %10.1f %10.1f\n' "bare Qt6 window" "$(echo "($b1 - $b0) * 60 / $seconds" | bc -l)" \
    "$(echo "$(rss_kib "$bare") / 1024" | bc -l)" "$(echo "$(pss_kib "$bare") / 1024" | bc -l)"
printf 'resident memory ratio: %.2f\n' "$(echo "$(rss_kib "$widget") / $(rss_kib "$bare")" | bc -l)"
kill "$widget" "$bare" "$traffic" 2>/dev/null || true
wait "$widget" "$bare" "$traffic" 2>/dev/null || true
