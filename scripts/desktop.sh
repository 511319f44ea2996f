#!/usr/bin/env bash
# A throw-away desktop for tests: Xvfb, openbox, a tray host and a session
# bus, each started in the background and stopped in reverse order.
#   source scripts/desktop.sh; desktop_start [--tray] [--wm openbox|xfwm4]; ...; desktop_stop
# Exports DISPLAY, XDG_RUNTIME_DIR, XDG_CONFIG_HOME and DBUS_SESSION_BUS_ADDRESS.

DESKTOP_PIDS=()
DESKTOP_DIR=""
DESKTOP_TRAY_PID=""

# The desktop's own folder, with the runtime and configuration folders of its
# programs inside.
desktop_folders() {
    DESKTOP_DIR=$(mktemp -d /tmp/trafalo-desktop.XXXXXX)
    chmod 700 "$DESKTOP_DIR"
    export XDG_RUNTIME_DIR="$DESKTOP_DIR/run"
    export XDG_CONFIG_HOME="$DESKTOP_DIR/config"
    mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
}

desktop_start() {
    local tray="" wm=openbox
    while [ $# -gt 0 ]; do
        case $1 in
        --tray) tray=1 ;;
        --wm) wm=$2; shift ;;
        esac
        shift
    done
    desktop_folders

    exec 3>"$DESKTOP_DIR/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$DESKTOP_DIR/xvfb.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    exec 3>&-
    local i
    for i in $(seq 1 100); do
        [ -s "$DESKTOP_DIR/display" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$DESKTOP_DIR/display")"

    desktop_bus

    if [ "$wm" = xfwm4 ]; then
        # The window manager of Xfce, without its compositor (Xvfb has none).
        xfwm4 --compositor=off >"$DESKTOP_DIR/xfwm4.log" 2>&1 &
    else
        # Alt with a mouse button is the program's (it shows the drive exclusions
        # in the menu): the window manager's own Alt bindings move to Super, as
        # many desktops have them.
        sed 's/mousebind button="A-/mousebind button="W-/' /etc/xdg/openbox/rc.xml >"$DESKTOP_DIR/openbox-rc.xml"
        openbox --config-file "$DESKTOP_DIR/openbox-rc.xml" >"$DESKTOP_DIR/openbox.log" 2>&1 &
    fi
    DESKTOP_PIDS+=($!)
    # The window manager is ready when it owns the screen's WM selection.
    for i in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
    [ -n "$tray" ] && desktop_tray
    return 0
}

# The tray host, ready once its panel window is up. A host that ended while
# starting is started again (it happened, rarely, on a loaded machine).
desktop_tray() {
    local attempt i
    for attempt in 1 2 3; do
        trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
            --SetPartialStrut true --transparent false >>"$DESKTOP_DIR/trayer.log" 2>&1 &
        DESKTOP_PIDS+=($!)
        DESKTOP_TRAY_PID=$!
        for i in $(seq 1 100); do
            kill -0 "$DESKTOP_TRAY_PID" 2>/dev/null || break
            timeout 5 xdotool search --name '^panel$' >/dev/null 2>&1 && return 0
            sleep 0.05
        done
        # Still running but slow: it is left to come up.
        kill -0 "$DESKTOP_TRAY_PID" 2>/dev/null && return 0
        echo "tray host ended while starting (attempt $attempt)" >>"$DESKTOP_DIR/trayer.log"
    done
    return 1
}

# A Wayland session instead: weston's headless backend with XWayland, which
# places every X11 window itself. Exports WAYLAND_DISPLAY and DISPLAY (the
# XWayland server, started when its first client connects).
desktop_start_wayland() {
    desktop_folders
    weston --backend=headless-backend.so --xwayland --socket=trafalo-wl --width=1280 --height=800 \
        --idle-time=0 >"$DESKTOP_DIR/weston.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    local i
    for i in $(seq 1 100); do
        grep -q 'xserver listening on display' "$DESKTOP_DIR/weston.log" && break
        sleep 0.05
    done
    export WAYLAND_DISPLAY=trafalo-wl
    export DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$DESKTOP_DIR/weston.log" | head -n1)
    desktop_bus
    [ -n "$DISPLAY" ]
}

# The session bus. It starts only the accessibility bus by itself: the
# desktop services installed on the machine (the real xfconfd comes with
# xfwm4) would answer in place of the suites' stand-ins.
desktop_bus() {
    mkdir -p "$DESKTOP_DIR/services"
    cp /usr/share/dbus-1/services/org.a11y.Bus.service "$DESKTOP_DIR/services/" 2>/dev/null
    cat >"$DESKTOP_DIR/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$XDG_RUNTIME_DIR/bus</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$DESKTOP_DIR/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    dbus-daemon --config-file="$DESKTOP_DIR/bus.conf" --nofork >"$DESKTOP_DIR/dbus.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
    local i
    for i in $(seq 1 50); do
        [ -S "$XDG_RUNTIME_DIR/bus" ] && return 0
        sleep 0.05
    done
}

# Ends one process the desktop or a suite started: a polite request first, and
# after five seconds without an end a kill, so that a program stuck in its own
# shutdown (a window manager waiting on a gone panel) cannot hold a suite
# until its time-out.
end_process() { # pid
    local i
    kill "$1" 2>/dev/null || { wait "$1" 2>/dev/null; return 0; }
    for i in $(seq 1 50); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$1" 2>/dev/null; then
        echo "# $(cat "/proc/$1/comm" 2>/dev/null) ($1) did not end on request: killed" >&2
        kill -KILL "$1" 2>/dev/null
    fi
    wait "$1" 2>/dev/null || true
}

# What the desktop's programs started by themselves (a bus-activated service,
# a helper of the window manager) carries the desktop's runtime folder in its
# environment: those end with the desktop too.
desktop_leftovers() {
    local env
    for env in /proc/[0-9]*/environ; do
        grep -qzx "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" "$env" 2>/dev/null || continue
        env=${env#/proc/}
        env=${env%/environ}
        [ "$env" = "$$" ] || [ "$env" = "$BASHPID" ] || echo "$env"
    done
}

desktop_stop() {
    local i
    for ((i = ${#DESKTOP_PIDS[@]} - 1; i >= 0; i--)); do
        end_process "${DESKTOP_PIDS[$i]}"
    done
    DESKTOP_PIDS=()
    if [ -n "$DESKTOP_DIR" ]; then
        for i in $(desktop_leftovers); do
            kill -KILL "$i" 2>/dev/null || true
        done
    fi
    [ -n "$DESKTOP_DIR" ] && rm -rf "$DESKTOP_DIR"
    DESKTOP_DIR=""
}
