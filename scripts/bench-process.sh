#!/usr/bin/env bash
# The real program at one sample a second on a virtual desktop (Xvfb,
# openbox, a tray host) with loopback traffic: CPU milliseconds per minute
# and resident memory, beside yardsticks measured in the same run: an empty
# Qt window, the same window waking once a second, and waking once a second
# to repaint a 366 x 77 picture.
#   scripts/bench-process.sh [SECONDS]   (default 120)
# TRAFALO_MODE=1|2 measures the Small or Tiny layout; TRAFALO_SETTINGS adds
# lines to the settings (e.g. 'ShowRealIP=True' to load Qt Network's objects).
# TRAFALO_FREEMEM=shown|tray opens the Free Memory window first (a free of
# 1 MB, through Shift and a double click on the Normal graph, right of the IP
# label) and leaves it
# shown or minimised into the tray.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
cmake --preset release >/dev/null
cmake --build --preset release --target trafalo bench_bare_window >/dev/null
source scripts/desktop.sh
started=()
# Everything started is stopped, also when a step fails: no exit status of a
# stopped process may end the clean-up half way.
cleanup() {
    set +e
    [ ${#started[@]} -gt 0 ] && kill "${started[@]}" 2>/dev/null
    for p in "${started[@]}"; do wait "$p" 2>/dev/null; done
    desktop_stop
}
trap cleanup EXIT
desktop_start --tray

source scripts/measure.sh

mkdir -p "$XDG_CONFIG_HOME/Trafalo"
printf '[Setting]\nConnection=0\nSmallUI=%s\n%b\n' "${TRAFALO_MODE:-0}" "${TRAFALO_SETTINGS:-}" \
    >"$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
build/release/trafalo >/dev/null 2>&1 &
widget=$!
started+=("$widget")
if [ -n "${TRAFALO_FREEMEM:-}" ]; then
    mkdir -p "$XDG_CONFIG_HOME/Lorvane"
    printf '[Settings]\nAutoFreeMemMB=1\n' >"$XDG_CONFIG_HOME/Lorvane/Lorvane.ini"
    sleep 2
    main=$(xdotool search --onlyvisible --name '^Trafalo$' | head -n1)
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + 320)) $((Y + 150)) keydown shift click --repeat 2 --delay 80 1 keyup shift
    sleep 2
    tool=$(xdotool search --onlyvisible --name 'Free Memory v' | head -n1)
    [ -n "$tool" ] || { echo "the Free Memory window did not open" >&2; exit 1; }
    [ "$TRAFALO_FREEMEM" = tray ] && xdotool windowminimize "$tool"
fi
build/release/bench/bench_bare_window >/dev/null 2>&1 &
bare=$!
started+=("$bare")
# The same empty window waking up once a second, as the sampler does, and
# doing nothing, or repainting a picture the size of the graph.
build/release/bench/bench_bare_window --tick 1000 >/dev/null 2>&1 &
ticking=$!
started+=("$ticking")
build/release/bench/bench_bare_window --tick 1000 --paint >/dev/null 2>&1 &
painting=$!
started+=("$painting")
/usr/bin/python3 scripts/loopback-traffic.py "$((seconds + 15))" &
traffic=$!
started+=("$traffic")
sleep 10 # settle
pids=("$widget" "$bare" "$ticking" "$painting")
names=(trafalo "bare Qt6 window" "  + 1 s timer" "  + 1 s repaint")
declare -a ms0 ns0 wk0
for i in "${!pids[@]}"; do
    ms0[i]=$(cpu_ms "${pids[i]}")
    ns0[i]=$(run_ns "${pids[i]}")
    wk0[i]=$(wakeups "${pids[i]}")
done
sleep "$seconds"
printf '%-20s %16s %18s %9s %9s %12s\n' "over ${seconds}s" "CPU ms/min" "(utime+stime)" "RSS MiB" "PSS MiB" \
    "wake-ups/s"
for i in "${!pids[@]}"; do
    pid=${pids[i]}
    printf '%-20s %16.1f %18.1f %9.1f %9.1f %12.1f\n' "${names[i]}" \
        "$(echo "($(run_ns "$pid") - ${ns0[i]}) / 1000000 * 60 / $seconds" | bc -l)" \
        "$(echo "($(cpu_ms "$pid") - ${ms0[i]}) * 60 / $seconds" | bc -l)" \
        "$(echo "$(rss_kib "$pid") / 1024" | bc -l)" "$(echo "$(pss_kib "$pid") / 1024" | bc -l)" \
        "$(echo "($(wakeups "$pid") - ${wk0[i]}) / $seconds" | bc -l)"
done
printf 'resident memory ratio: %.2f\n' "$(echo "$(rss_kib "$widget") / $(rss_kib "$bare")" | bc -l)"
