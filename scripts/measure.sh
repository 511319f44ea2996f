# What the benchmarks read of a running process (sourced): its processor
# time, wake-ups and memory, over all its threads.
ticks=$(getconf CLK_TCK)
cpu_ms() { awk -v t="$ticks" '{ print int(($14 + $15) * 1000 / t) }' "/proc/$1/stat"; }
# Time on the processor as the scheduler counts it (ns): precise, where utime
# and stime are sampled at each clock tick and charge a whole tick to a
# process that happens to be running when the tick strikes.
run_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
# Times any thread of the process was put on a processor: its wake-ups.
wakeups() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $3 } END { printf "%d", s }'; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
pss_kib() { awk '/^Pss:/ { print $2 }' "/proc/$1/smaps_rollup"; }
