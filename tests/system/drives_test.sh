#!/usr/bin/env bash
# "Eject All USB devices" through the real program: first against a udisks2
# stand-in whose Unmount fails as told, then against a real udisksd taking a
# loop device off line; the Tiny layout's extended button and drive list. Root only, and
# all of it in a private mount namespace, so that nothing mounted outside the
# test can ever be unmounted.
#   drives_test.sh PATH_TO_TRAFALO
set -u
[ "$(id -u)" = 0 ] || { echo "skipped: needs root for loop devices and a mount namespace"; exit 77; }
if [ -z "${TRAFALO_PRIVATE_MOUNTS:-}" ]; then
    TRAFALO_PRIVATE_MOUNTS=1 exec unshare -m --propagation private bash "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_lib.sh" "$@"

suite_start --tray
loops=()
on_exit() {
    for dev in "${loops[@]}"; do
        umount -q "$dev" 2>/dev/null
        umount -q "/sys/block/$(basename "$dev")/removable" 2>/dev/null
        losetup -d "$dev" 2>/dev/null
    done
}

start_pulse # sounds go to a null sink whose monitor is recorded
# A private system bus for udisks2.
dbus-daemon --session --nofork --address="unix:path=$T/sysbus" >"$T/sysbus.log" 2>&1 &
helpers+=($!)
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$T/sysbus"

# An 8 MiB ext4 image on a loop device, mounted at $T/mntN, that the kernel
# reports as removable (as a USB stick is): a file bound over the flag.
echo 1 >"$T/removable"
make_drive() { # N
    truncate -s 8M "$T/img$1" && mkfs.ext4 -q -F "$T/img$1" || return 1
    local dev
    dev=$(losetup -f --show "$T/img$1") || return 1
    loops+=("$dev")
    mount --bind "$T/removable" "/sys/block/$(basename "$dev")/removable"
    mkdir -p "$T/mnt$1" && mount "$dev" "$T/mnt$1"
}
device_number() { # loop device: major * 256 + minor, as dev_t has it for small numbers
    local major minor
    read -r major minor < <(stat -c '%t %T' "$1")
    echo $((16#$major * 256 + 16#$minor))
}
alerts() { timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null; }
alerts_shown() { [ "$(alerts "$1" | wc -l)" -ge "$2" ]; } # pattern count
wait_alerts() { wait_for $(($3 * 10)) alerts_shown "$1" "$2"; } # pattern count seconds
alerts_gone() { [ -z "$(alerts '.')" ] || [ -z "$(alerts 'Eject|Ejected')" ]; }
start() { start_shown "$1" && sleep 0.5; } # settings
stand_in() { # JSON parameters
    /usr/bin/python3 -m dbusmock --template "$here/udisks2_stub.py" -l "$T/calls.log" -p "$1" \
        >"$T/stub.log" 2>&1 &
    stub=$!
    helpers+=($stub)
    wait_for 50 gdbus introspect --system -d org.freedesktop.UDisks2 -o /org/freedesktop/UDisks2 >/dev/null 2>&1
}
stop_stand_in() { kill "$stub" 2>/dev/null; wait "$stub" 2>/dev/null; }
calls() { grep -c "$1" "$T/calls.log"; }
eject_all() { choose Down 4; } # the fourth item: "Eject All USB devices"

for n in 0 1; do make_drive $n || { echo "FAILED - no loop device"; exit 1; }; done

# 1. Through the stand-in: a lock that succeeds on the fourth try, and one
# refused while busy for about a second. What udisks2 is asked never forces
# an unmount or prompts for a password; the alerts do not take the focus and
# their sound reaches the speakers. (Every other failing step and its alert,
# and the alerts' slots and pace, are pinned on fakes: EjectDrive.*,
# UdisksErrorNumber.*, FindFreeSlot.*, AlertLayout.*, vbMSNbox.*; the letter
# each drive gets: DriveLetters.*, ParseMountInfo.*.)
stand_in "{\"devices\": [$(device_number "${loops[0]}"), $(device_number "${loops[1]}")], \"fails\": [3, 100], \"errors\": [\"org.freedesktop.UDisks2.Error.DeviceBusy\", \"org.freedesktop.UDisks2.Error.DeviceBusy\"]}"
start 'SmallUI=0\n'
parec -d null.monitor --raw --format=s16le --channels=1 --rate=44100 >"$T/sound.raw" 2>/dev/null &
recorder=$!
focus_before=$(xdotool getwindowfocus 2>/dev/null)
eject_all
check "the lock that succeeds on its fourth try ejects its drive" wait_alerts "^Drive [D-Z]: Ejected
Media may be Safely Removed from Drive [D-Z]:\$" 1 5
check "a drive busy for good: \"Error 16: Locking Volume\"" wait_alerts "^Eject Drive [D-Z]:
Error 16: Locking Volume\$" 1 5
sleep 1
kill "$recorder" 2>/dev/null
wait "$recorder" 2>/dev/null
check "the keyboard focus is not taken by the alerts" [ "$(xdotool getwindowfocus 2>/dev/null)" = "$focus_before" ]
check "4 + 21 lock tries ($(calls "Unmount {") Unmount calls)" [ "$(calls "Unmount {")" = 25 ]
check "never a forced unmount, never a password prompt" bash -c "! grep -E '(Unmount|Delete) [{]' '$T/calls.log' | grep -qv '{\"auth.no_user_interaction\": True}\$'"
peak=$(od -An -t d2 -v "$T/sound.raw" | tr -s ' ' '\n' | awk '{v = $1 < 0 ? -$1 : $1; if (v > m) m = v} END {print m + 0}')
check "the alerts' sounds reach the speakers (peak $peak)" [ "$peak" -gt 50 ]
stop_trafalo
stop_stand_in

# (Ended during Eject All: the end waits for the step to unwind and saves:
# LongOperation.*, EjectDrive.StopsQuietlyWhenTheProgramEnds, and for real,
# a SIGTERM during a free in freemem_test.sh.)

# 5. The real udisksd (with udevd) takes a loop device off line.
/lib/systemd/systemd-udevd >"$T/udevd.log" 2>&1 &
helpers+=($!)
/usr/libexec/udisks2/udisksd --no-debug >"$T/udisksd.log" 2>&1 &
helpers+=($!)
for dev in "${loops[@]:1}"; do umount "$dev"; done
udevadm trigger --action=change "/sys/block/$(basename "${loops[0]}")" 2>/dev/null
udevadm settle -t 5 2>/dev/null
wait_for 50 gdbus introspect --system -d org.freedesktop.UDisks2 \
    -o "/org/freedesktop/UDisks2/block_devices/$(basename "${loops[0]}")" >/dev/null 2>&1
start 'SmallUI=0\n'
(cd "$T/mnt0" && exec sleep 600) &
shell=$!
eject_all
check "a shell working inside keeps it busy, and the alert says so" wait_alerts "^Eject Drive [D-Z]:
Error 16: Locking Volume\$" 1 6
check "still mounted" grep -q " $T/mnt0 " /proc/self/mountinfo
kill "$shell"
wait "$shell" 2>/dev/null
wait_for 100 alerts_gone
eject_all
check "once it is free: its \"Drive …: Ejected\"" wait_alerts "^Drive [D-Z]: Ejected" 1 10
check "unmounted" bash -c "! grep -q ' $T/mnt0 ' /proc/self/mountinfo"
check "and the image detached" bash -c "! losetup -a | grep -q '$T/img0'"
stop_trafalo

# 6. The extended button of the Tiny layout: a disk mounted after the start
# counts as USB (the internal ones were learned before); the window widens
# for the eject button and narrows again; the drive list opens a drive's
# folder; the keyboard stays with the window the user types in.
mkdir -p "$T/bin"
printf '#!/bin/sh\necho "$@" >>"%s/opened"\n' "$T" >"$T/bin/xdg-open"
chmod +x "$T/bin/xdg-open"
export PATH="$T/bin:$PATH"
start 'SmallUI=2\nShowExtendedButton=1\nShowBandwidth=1\n'
xev -name "Typing Here" >/dev/null 2>&1 &
helpers+=($!)
sleep 1
typing=$(timeout 5 xdotool search --name "Typing Here" | head -n1)
xdotool windowactivate --sync "$typing" 2>/dev/null
width() { read -r _ _ w _ < <(geometry "$(window_id)"); echo "$w"; }
width_is() { [ "$(width)" = "$1" ]; }
wait_width() { wait_for 70 width_is "$1"; }
check "Tiny with no USB drive: 140 px ($(width))" [ "$(width)" = 140 ]
truncate -s 8M "$T/img5" && mkfs.ext4 -q -F "$T/img5"
disk=$(losetup -f --show "$T/img5")
loops+=("$disk")
mkdir -p "$T/mnt5" && mount "$disk" "$T/mnt5"
check "a disk mounted: within 5 s the window is 168 px" wait_width 168
# A window that grew past the screen's edge is pulled back by the next tick.
inside() { read -r x y _ _ < <(geometry "$(window_id)") && [ $((x + 168)) -le 1280 ]; }
wait_for 30 inside
# (Which button shows, and its picture, are pinned on fakes: ChooseExtendedButton.*,
# Pictures.*.)
echo "# polling for 70 s with the keyboard in another window"
sleep 70
check "the keyboard stays where the user types" [ "$(xdotool getwindowfocus)" = "$typing" ]
xdotool mousemove $((x + 150)) $((y + 10)) sleep 0.2 mousemove $((x + 152)) $((y + 12))
sleep 2.6
import -window root "$T/droplist.png"
: >"$T/opened"
xdotool mousemove_relative 40 45 sleep 0.5 click 1 # the second drive, below the pointer
sleep 0.5
import -window root "$T/chosen.png"
check "the drive list drops down after 2 s on the button and opens the chosen drive ($(cat "$T/opened"))" \
    grep -q "^file:///" "$T/opened"
umount "$T/mnt5"
check "unmounted: back to 140 px" wait_width 140
xdotool mousemove $((x + 50)) $((y + 10))
check "the pointer on the graph asks for the speaker button" wait_width 168
stop_trafalo

suite_end
