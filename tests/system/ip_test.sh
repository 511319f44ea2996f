#!/usr/bin/env bash
# The IP address labels through the real program, in network, host-name and
# mount namespaces of the test's own, read through the accessibility tree:
# the echo page's address and its agent; a page that never answers and one
# that streams without end leave the window ticking and its memory flat;
# http_proxy is not used; unchecking "Show Real IP Address" shows the local
# address (the default route's source, as the host name means loopback);
# Qt Network is mapped only with the first fetch; a copy in a shared
# folder loads no page module from it.
# Root only (namespaces).
#   ip_test.sh PATH_TO_TRAFALO
set -u
[ "$(id -u)" = 0 ] || { echo "skipped: needs root for namespaces"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${TRAFALO_IP_NAMESPACES:-}" ]; then
    exec env TRAFALO_IP_NAMESPACES=1 unshare --net --uts --mount -- bash "$0" "$@"
fi

# Loopback, and one link whose default route gives the local address. The
# host name resolves to 127.0.1.1 as on a fresh Debian machine.
ip link set lo up
ip link add lan0 type veth peer name lan1
ip link set lan1 up
ip addr add 10.77.0.2/24 dev lan0
ip link set lan0 up
ip route add default via 10.77.0.1
hostname trafalo-ip-test
etc=$(mktemp -d /tmp/trafalo-ip-etc.XXXXXX)
printf '127.0.0.1 localhost\n127.0.1.1 trafalo-ip-test\n' >"$etc/hosts"
: >"$etc/resolv.conf"
mount --bind "$etc/hosts" /etc/hosts
mount --bind "$etc/resolv.conf" /etc/resolv.conf

source "$here/desktop_lib.sh" "$@"
suite_start
on_exit() { rm -rf "$etc"; }

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$T/atspi.log" 2>&1 &
helpers+=($!)
echo answer >"$T/mode"
/usr/bin/python3 "$here/echo_page.py" 18080 "$T/mode" "$T/page.log" &
helpers+=($!)
wait_for 50 grep -q listening "$T/page.log" # before the start's fetch
# A proxy that would see any request sent through it.
/usr/bin/python3 -c 'import socket,sys
s = socket.create_server(("127.0.0.1", 18081))
while True:
    c, _ = s.accept(); open(sys.argv[1], "a").write("proxied\n"); c.close()' "$T/proxy.log" &
helpers+=($!)
traffic() { loopback_traffic 120 & helpers+=($!); }

label() { /usr/bin/python3 "$here/window_read.py" "$1" "$pid" 2>/dev/null; }
shown() { [ "$(label ip | cut -d'|' -f1,2)" = "$1|Your IP address is $1" ]; }
shows() { wait_for 50 shown "$1"; } # text: the label and its tooltip within 5 s
rss() { awk '/^VmRSS/{print $2}' "/proc/$pid/status"; }
ticking() { # seconds: the graph's readout changes at least that many times
    local i last now changes=0
    last=$(label graph)
    for i in $(seq 1 "$1"); do
        sleep 1
        now=$(label graph)
        [ "$now" != "$last" ] && changes=$((changes + 1))
        last=$now
    done
    [ "$changes" -ge $(($1 - 2)) ]
}
refetch() { xdotool mousemove "$lx" "$ly" click --repeat 2 --delay 80 1; }

settings='SmallUI=0\nShowRealIP=True\nurl=http://127.0.0.1:18080/\n'
traffic
# The window is read through its accessibility tree; a proxy is set that must not be used.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 http_proxy=http://127.0.0.1:18081/ HTTP_PROXY=http://127.0.0.1:18081/ \
    all_proxy=http://127.0.0.1:18081/
start_shown "$settings"

# 1. The Normal layout fetches the page once at the start.
check "the page's address and tooltip are shown" shows 203.0.113.7
check "the page saw the agent \"vb wininet\"" grep -q 'request agent=vb wininet mode=answer' "$T/page.log"
check "no request went through http_proxy" [ ! -s "$T/proxy.log" ]
read -r lx ly lw lh < <(label ip | cut -d'|' -f3)
lx=$((lx + lw / 2))
ly=$((ly + lh / 2))

# 2. A page that never answers: the window ticks, the fetch gives up after
# its time-out and the label is emptied.
echo silent >"$T/mode"
refetch
check "a page that never answers leaves the window ticking" ticking 8
check "it is given up after its time-out" bash -c "sleep 4; grep -q 'silent closed' '$T/page.log'"
check "and no address is shown" [ -z "$(label ip)" ]

# 3. A page that streams without end: read up to the cap and dropped.
echo endless >"$T/mode"
before=$(rss)
refetch
check "an endless page leaves the window ticking" ticking 5
after=$(rss)
check "and its memory flat (${before} -> ${after} KiB)" [ "$after" -lt $((before + 4096)) ]
check "the page is dropped early" wait_for 100 grep -q 'endless closed after' "$T/page.log"

check "still no request through http_proxy" [ ! -s "$T/proxy.log" ]
stop_trafalo
# (An answer to an older request never replaces a newer one, and a start
# with no page to reach fetches again when the Normal layout comes back:
# frmMain.ThePublicAddressComesFromTheEchoPageAndTheLatestRequestWins.)

# 4. Unchecked, the labels show the local address: the default route's
# source (the host name means loopback). 5. Qt Network is mapped with the
# first page fetch, not before.
echo answer >"$T/mode"
start_shown "${settings/ShowRealIP=True/ShowRealIP=False}"
check "unchecked, the local address is shown" shows 10.77.0.2
check "without a page fetch Qt Network is not mapped" bash -c "! grep -q libQt6Network /proc/$pid/maps"
choose Down 2 && xdotool key --delay 60 Right Up Return
check "the option checked again fetches the page" shows 203.0.113.7
check "and now it is mapped" grep -q libQt6Network "/proc/$pid/maps"
stop_trafalo

# 6. A copy run from a folder others may write to loads no page module from
# it (another user could have put it there), and says so once.
shared=$(mktemp -d /tmp/trafalo-ip-shared.XXXXXX)
chmod 1777 "$shared"
cp "$trafalo" "$(dirname "$trafalo")/trafalo_pagefetch.so" "$shared/"
asked=$(grep -c 'request agent' "$T/page.log")
"$shared/trafalo" >"$T/shared.log" 2>&1 &
pid=$!
wait_window
sleep 3
check "a copy in a shared folder shows no page's address" [ -z "$(label ip)" ]
check "and never asked the page" [ "$(grep -c 'request agent' "$T/page.log")" = "$asked" ]
check "the refusal is said once ($(grep -c 'not loading' "$T/shared.log"))" [ "$(grep -c 'not loading' "$T/shared.log")" = 1 ]
stop_trafalo
rm -rf "$shared"

suite_end
