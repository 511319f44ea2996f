#!/usr/bin/env bash
# The Free Memory window through the real program: a free raises the resident
# size by 2 MiB a step and returns it, twice; the main window answers
# meanwhile; the window and the main window sit side by side as two
# StatusNotifierItems with their tooltips; minimising puts it in the tray and
# Activate brings it back; SIGTERM during a free
# ends both windows cleanly. (A free in a small memory cgroup stopping at the
# room left: LinuxMemoryClaim.ClaimsResidentMemoryUnderItsCgroupsLimitAndReturnsIt
# reads that room for real, RunFree.* and FreeMemClaim.* stop there.)
# The tray icon class's balloon arrives as a desktop notification.
#   freemem_test.sh PATH_TO_TRAFALO PATH_TO_BALLOON_PROBE
set -u
here=$(cd "$(dirname "$0")" && pwd)
probe=$2
source "$here/desktop_lib.sh" "$@"

suite_start

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$T/atspi.log" 2>&1 &
helpers+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_sni_watcher
helpers+=("$watcher")
mkdir -p "$XDG_CONFIG_HOME/Trafalo" "$XDG_CONFIG_HOME/Lorvane"
lorvane="$XDG_CONFIG_HOME/Lorvane/Lorvane.ini"

kib() { awk -v k="$2:" '$1 == k {print $2}' "/proc/$1/status"; }
fm_id() { # the Free Memory window, when mapped
    local id
    for id in $(timeout 5 xdotool search --onlyvisible --name 'Free Memory v' 2>/dev/null); do
        override_redirect "$id" || { echo "$id"; return; }
    done
}
fm_shown() { [ -n "$(fm_id)" ]; }
fm_gone() { [ -z "$(fm_id)" ]; }
button() { /usr/bin/python3 "$here/window_read.py" button "$pid" 2>/dev/null; }
idle_button() { [[ "$(button)" == "Free "*" MB" ]]; }
free_command() { # the Tiny meters' Free Memory gesture
    read -r x y _ _ < <(geometry "$(window_id)")
    xdotool mousemove $((x + 110)) $((y + 13)) click 1
}
# Under AddressSanitizer an eighth of what was claimed stays resident as its
# shadow (125 MiB for 1000 MiB).
shadow=0
ldd "$trafalo" | grep -q libasan && shadow=130

# 1. Two frees of 500 MB: 1000 MiB more resident at the peak, back after.
printf '[Settings]\nAutoFreeMemMB=500\n' >"$lorvane"
start_shown ''
loopback_traffic 60 &
helpers+=($!)
for round in 1 2; do
    base=$(kib "$pid" VmRSS)
    echo 5 >"/proc/$pid/clear_refs" # the peak starts again from now
    if [ "$round" = 1 ]; then
        free_command
    else
        read -r fx fy _ _ < <(geometry "$(fm_id)")
        xdotool mousemove $((fx + 250)) $((fy + 50)) click 1
    fi
    check "free $round: the Free Memory window is shown" wait_for 50 fm_shown
    if [ "$round" = 2 ]; then
        # The free yields between its steps: the main window answers meanwhile.
        ping_start 2
        answered_meanwhile "the main window during the free"
    fi
    check "free $round ends" wait_for 300 idle_button
    peak=$((($(kib "$pid" VmHWM) - base) / 1024))
    after=$((($(kib "$pid" VmRSS) - base) / 1024))
    check "free $round: $peak MiB more at the peak (500 steps of 2 MiB)" [ "$peak" -ge 990 -a "$peak" -le $((1100 + shadow)) ]
    check "free $round: back within 40 MiB after ($after MiB)" [ "$after" -le $((40 + shadow)) ]
done

# 2. Minimised, the window leaves the screen for an icon of its own beside
# the main window's; each tooltip is its window's.
xdotool windowminimize "$(fm_id)"
check "minimising unmaps the window" wait_for 30 fm_gone
read -r x y _ _ < <(geometry "$(window_id)")
xdotool mousemove $((x + 50)) $((y + 13)) click 3
wait_menu
xdotool key Down Return # Hide to System Tray
main_gone() { [ -z "$(window_id)" ]; }
check "the main window hides" wait_for 30 main_gone
titles() { /usr/bin/python3 "$here/sni_check.py" titles 2>/dev/null; }
two_titles() { # the tooltips follow each window's next refresh
    titles | grep -q "^'Trafalo\\\\nDownload: " &&
        titles | grep -qE "^'[0-9]+\\.[0-9]MB Free Memory v[0-9]+\\.[0-9]+\\\\nUsage: [0-9]+\\.[0-9]%'$"
}
check "two icons, each with its window's tooltip" wait_for 60 two_titles
titles

# 3. Activate on the icon brings the window back. (The setup's values and
# their save: FreeMemFixture.TheSetupShowsValidValuesAndAppliesThemOnClose;
# the icon's menu on a real tray: tray_xembed_test.sh.)
/usr/bin/python3 "$here/sni_check.py" activate-item 'Free Memory' 2>/dev/null
check "Activate on its icon shows the window again" wait_for 50 fm_shown

# The icon class's balloon, through a notification server stand-in.
/usr/bin/python3 -m dbusmock --template notification_daemon >"$T/notifications.log" 2>&1 &
helpers+=($!)
wait_for 50 gdbus introspect --session -d org.freedesktop.Notifications -o /org/freedesktop/Notifications \
    >/dev/null 2>&1
events=$(timeout 10 "$probe" "Free Memory" "Freed 500 MB" 2>>"$T/probe.log")
check "the balloon was sent and its events raised: $(echo $events)" \
    [ "$(echo $events)" = "shown add 0, balloon 0 timed out" ]
check "it arrived as a notification with its title and text, for 1500 ms" \
    grep -q 'Notify .* "Free Memory" "Freed 500 MB" .* 1500$' "$T/notifications.log"

# 4. SIGTERM during a free: the free stops, both windows save and the
# program ends cleanly (no sanitizer report: suite_end).
read -r fx fy _ _ < <(geometry "$(fm_id)")
xdotool mousemove $((fx + 250)) $((fy + 50)) click 1
sleep 0.5
ended_pid=$pid
stop_trafalo
check "SIGTERM during a free ends the program" ended "$ended_pid"
check "the main window saved its settings (Tray=$(ini Tray))" [ "$(ini Tray)" = True ]
check "the tool saved its own (FreeMemTray=0)" grep -q '^FreeMemTray=0$' "$lorvane"

# ("/tray" and a window that stays reachable without a notification area
# are pinned on fakes: FreeMemFixture.LoadSetsTheSliderAndTextsAndTrayModeStarts
# InTheTray, FreeMemFixture.HiddenInTheAreaItShowsWhenTheAreaGoesAndGoesBack
# WhenItReturns; its icon and Exit on a real tray in tray_xembed_test.sh.)

suite_end
