#!/usr/bin/env bash
# Trafalo beside its peers, side by side on one virtual desktop (Xvfb,
# openbox, a tray host) with about 1 MiB/s of loopback traffic: conky and
# GKrellM at one update a second, Trafalo in the Normal and Tiny layouts and
# an empty Qt window. Each run starts all five afresh and measures over the
# same seconds: CPU time per minute (the scheduler's run time of all threads),
# resident and proportional memory, and the time from the start to the first
# mapped window. Prints min / median / max over the runs and the ratios
# Trafalo / GKrellM and Trafalo / conky within each run.
#   scripts/bench-peers.sh [SECONDS] [RUNS]   (default 120 s, 3 runs: about 7 minutes)
# Installs what is missing (root or sudo), conky and GKrellM among it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
runs=${2:-3}
scripts/install-deps.sh
missing=()
for p in conky-std gkrellm; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" != 0 ] && sudo=sudo
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
cmake --preset release >/dev/null
cmake --build --preset release --target trafalo bench_bare_window >/dev/null

source scripts/desktop.sh
started=()
stop_started() {
    [ ${#started[@]} -gt 0 ] && kill "${started[@]}" 2>/dev/null
    for p in "${started[@]}"; do wait "$p" 2>/dev/null; done
    started=()
    return 0
}
# Everything started is stopped, also when a step fails.
cleanup() {
    set +e
    stop_started
    desktop_stop
}
trap cleanup EXIT
desktop_start --tray
work="$DESKTOP_DIR/peers"
mkdir -p "$work"
chmod 700 "$work"

# conky: the speeds as text and graphs, the totals, a processor graph and a memory bar.
cat >"$work/conky.conf" <<'CONF'
conky.config = { own_window = true, own_window_type = 'normal', own_window_title = 'conky-bench',
    update_interval = 1, double_buffer = true, out_to_console = false, background = false,
    minimum_width = 300 }
conky.text = [[
Down ${downspeed lo}  Up ${upspeed lo}
${downspeedgraph lo 30,300}
${upspeedgraph lo 30,300}
Total ${totaldown lo} / ${totalup lo}
CPU ${cpu}% ${cpugraph 20,300}
RAM ${memperc}% ${membar 6,300}
]]
CONF
# GKrellM with its default monitors, updated once a second.
mkdir -p "$work/gkrellm/.gkrellm2"
printf 'update_HZ 1\n' >"$work/gkrellm/.gkrellm2/user-config"
# Two Trafalo, each with its own settings and instance lock.
for mode in 0 2; do
    mkdir -p "$work/trafalo$mode/config/Trafalo" "$work/trafalo$mode/run"
    chmod 700 "$work/trafalo$mode/run"
done

names=(conky "GKrellM at 1 Hz" "Trafalo, Normal" "Trafalo, Tiny" "a bare Qt6 window")
start_subject() { # index: starts it, sets $last
    case $1 in
    0) conky -c "$work/conky.conf" >/dev/null 2>&1 & ;;
    1) HOME="$work/gkrellm" gkrellm >/dev/null 2>&1 & ;;
    2 | 3)
        local mode=$((($1 - 2) * 2)) dir
        dir="$work/trafalo$mode"
        printf '[Setting]\nConnection=0\nSmallUI=%s\nShowRealIP=False\n' "$mode" >"$dir/config/Trafalo/Trafalo.ini"
        XDG_CONFIG_HOME="$dir/config" XDG_RUNTIME_DIR="$dir/run" build/release/trafalo >/dev/null 2>&1 &
        ;;
    4) build/release/bench/bench_bare_window >/dev/null 2>&1 & ;;
    esac
    last=$!
    started+=("$last")
}
mapped() { # index pid: a visible window of that subject exists
    case $1 in
    0) xdotool search --onlyvisible --name '^conky-bench$' >/dev/null 2>&1 ;;
    1) xdotool search --onlyvisible --class '^gkrellm$' >/dev/null 2>&1 ;;
    *) xdotool search --onlyvisible --pid "$2" >/dev/null 2>&1 ;;
    esac
}
source scripts/measure.sh
ms_now() { echo $(($(date +%s%N) / 1000000)); }

# The time of each window mapped on the screen, from the window manager's
# frames: polling for a window would only be as fine as one xdotool call.
mkfifo "$work/events"
stdbuf -oL xev -root -event substructure >"$work/events" 2>/dev/null &
started+=($!)
while IFS= read -r line; do
    case $line in MapNotify*) ms_now ;; esac
done <"$work/events" >"$work/maps" &
started+=($!)
first_map_after() { awk -v t="$1" '$1 >= t { print $1 - t; exit }' "$work/maps"; }

/usr/bin/python3 scripts/loopback-traffic.py "$((runs * (seconds + 40)))" &
traffic=$!
started+=("$traffic")
keep=("${started[@]}")
declare -A cpu start rss pss wake
for run in $(seq 1 "$runs"); do
    pids=()
    for i in "${!names[@]}"; do
        t0=$(ms_now)
        start_subject "$i"
        pids[i]=$last
        until mapped "$i" "$last"; do
            [ $(($(ms_now) - t0)) -gt 10000 ] && { echo "${names[i]} never mapped a window" >&2; exit 1; }
            sleep 0.02
        done
        start[$i,$run]=$(first_map_after "$t0")
    done
    sleep 10 # settle
    declare -a ns0 wk0
    for i in "${!names[@]}"; do
        ns0[i]=$(run_ns "${pids[i]}")
        wk0[i]=$(wakeups "${pids[i]}")
    done
    sleep "$seconds"
    for i in "${!names[@]}"; do
        cpu[$i,$run]=$(echo "($(run_ns "${pids[i]}") - ${ns0[i]}) / 1000000 * 60 / $seconds" | bc -l)
        wake[$i,$run]=$(echo "($(wakeups "${pids[i]}") - ${wk0[i]}) / $seconds" | bc -l)
        rss[$i,$run]=$(rss_kib "${pids[i]}")
        pss[$i,$run]=$(pss_kib "${pids[i]}")
    done
    kill "${pids[@]}" 2>/dev/null
    wait "${pids[@]}" 2>/dev/null || true
    started=("${keep[@]}")
    echo "run $run of $runs done" >&2
done

stats() { # values...: min/median/max
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.0f/%.0f/%.0f", v[1], v[int((NR + 1) / 2)], v[NR] }'
}
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1024 }'; }
column() { # array index
    local -n a=$1
    local r
    for r in $(seq 1 "$runs"); do echo "${a[$2,$r]}"; done
}
echo
echo "$runs runs of ${seconds} s, all five side by side in each run"
printf '| %-18s | %-14s | %-8s | %-8s | %-22s | %-12s |\n' subject "CPU ms/min" "RSS MiB" "PSS MiB" \
    "start to mapped, ms" "wake-ups/s"
printf '|%s|%s|%s|%s|%s|%s|\n' "--------------------" "----------------" "----------" "----------" \
    "------------------------" "--------------"
for i in "${!names[@]}"; do
    printf '| %-18s | %-14s | %-8s | %-8s | %-22s | %-12s |\n' "${names[i]}" "$(stats $(column cpu "$i"))" \
        "$(median $(column rss "$i"))" "$(median $(column pss "$i"))" "$(stats $(column start "$i"))" \
        "$(stats $(column wake "$i"))"
done
ratio() { # a b: min-max over the runs of cpu[a]/cpu[b]
    local r values=()
    for r in $(seq 1 "$runs"); do values+=("$(echo "${cpu[$1,$r]} / ${cpu[$2,$r]}" | bc -l)"); done
    printf '%s\n' "${values[@]}" | sort -g | awk '{ v[NR] = $1 } END { printf "%.2f-%.2f", v[1], v[NR] }'
}
echo
echo "CPU ratios within each run (min-max):"
echo "  Trafalo Normal / GKrellM $(ratio 2 1), Trafalo Normal / conky $(ratio 2 0)"
echo "  Trafalo Tiny / GKrellM $(ratio 3 1), Trafalo Tiny / conky $(ratio 3 0)"
