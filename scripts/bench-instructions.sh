#!/usr/bin/env bash
# Instructions per tick of the real window, per layout and hidden in the
# tray, counted by callgrind over a fixed run of samples with fixed values
# (bench/bench_instructions.cpp): a figure the machine's load cannot move.
# Prints each beside the budget it must stay under; exits 1 when one is over.
# Installs valgrind when it is missing (root or sudo).
#   scripts/bench-instructions.sh [TICKS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
ticks=${1:-60}
if ! dpkg-query -W -f='${Status}' valgrind 2>/dev/null | grep -q "install ok installed"; then
    sudo=""
    [ "$(id -u)" != 0 ] && sudo=sudo
    $sudo apt-get install -y -qq --no-install-recommends valgrind
fi
cmake --preset release >/dev/null
cmake --build --preset release --target bench_instructions >/dev/null
out=$(mktemp -d /tmp/trafalo-callgrind.XXXXXX)
trap 'rm -rf "$out"' EXIT
# Budgets in thousands of instructions a tick (release build, offscreen).
declare -A budget=([normal]=1070 [small]=835 [tiny]=350 [tray]=150)
over=0
printf '%-8s %16s %16s\n' layout "k instr./tick" "budget (k)"
for layout in normal small tiny tray; do
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --collect-atstart=no \
        --callgrind-out-file="$out/$layout.out" build/release/bench/bench_instructions "$layout" "$ticks" \
        >"$out/$layout.log" 2>&1
    total=$(awk '/^(summary|totals):/ { print $2; exit }' "$out/$layout.out")
    per=$((total / ticks / 1000))
    printf '%-8s %16d %16d\n' "$layout" "$per" "${budget[$layout]}"
    [ "$per" -le "${budget[$layout]}" ] || over=1
done
exit "$over"
