#!/usr/bin/env bash
# Builds the Debian package and checks it: the desktop entry, the AppStream
# data and the package itself (lintian), then unpacks it into a scratch root
# and starts the installed program once on a virtual desktop.
#   scripts/package.sh   -> build/package/trafalo_VERSION_ARCH.deb
# Installs what is missing (root or sudo); the check of the installed program
# needs Xvfb and openbox (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset package >/dev/null
cmake --build --preset package
rm -f build/package/trafalo_*.deb
(cd build/package && cpack -G DEB)
deb=$(ls build/package/trafalo_*.deb)

scratch=$(mktemp -d /tmp/trafalo-package.XXXXXX)
pid=""
page=""
cleanup() {
    set +e
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    [ -n "$page" ] && kill "$page" 2>/dev/null
    desktop_stop
    rm -rf "$scratch"
}
source scripts/desktop.sh
trap cleanup EXIT

echo "--- desktop-file-validate, appstreamcli, lintian"
dpkg-deb -x "$deb" "$scratch/root"
desktop-file-validate "$scratch/root/usr/share/applications/trafalo.desktop"
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/org.example.trafalo.metainfo.xml"
lintian --fail-on error "$deb"

echo "--- the installed program"
program="$scratch/root/usr/bin/trafalo"
[ "$("$program" --version)" = "trafalo $(dpkg-deb -f "$deb" Version)" ]
mkdir -p "$scratch/config" "$scratch/run"
set +e
XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" "$program" --no-such-option 2>/dev/null
status=$?
set -e
[ "$status" = 2 ] || { echo "an unknown option ended with $status, not 2"; exit 1; }
# Neither the settings nor the one-instance lock were touched.
[ -z "$(find "$scratch/config" "$scratch/run" -mindepth 1)" ] || { echo "an unknown option left files"; exit 1; }
for size in 16 32 48 256; do
    file "$scratch/root/usr/share/icons/hicolor/${size}x${size}/apps/trafalo.png" | grep -q "$size x $size"
done
# A loopback echo page: the installed program must find its page reader
# module under ../lib/trafalo to ask it.
/usr/bin/python3 -c 'import http.server, sys
class Page(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        open(sys.argv[1], "a").write(self.headers.get("User-Agent", "") + "\n")
        self.send_response(200); self.end_headers(); self.wfile.write(b"Address: 203.0.113.7\n")
http.server.HTTPServer(("127.0.0.1", 18090), Page).serve_forever()' "$scratch/agents" 2>/dev/null &
page=$!
desktop_start
mkdir -p "$XDG_CONFIG_HOME/Trafalo"
printf '[Setting]\nSmallUI=0\nShowRealIP=True\nurl=http://127.0.0.1:18090/\n' >"$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
"$program" >"$scratch/trafalo.log" 2>&1 &
pid=$!
for i in $(seq 1 100); do
    xdotool search --onlyvisible --name '^Trafalo$' >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Trafalo$' >/dev/null || { cat "$scratch/trafalo.log"; exit 1; }
for i in $(seq 1 100); do
    [ -s "$scratch/agents" ] && break
    sleep 0.1
done
kill "$page"
grep -qx "vb wininet" "$scratch/agents" 2>/dev/null || { echo "the installed program read no page"; cat "$scratch/trafalo.log"; exit 1; }
kill -TERM "$pid"
wait "$pid"
pid=""
grep -q '^SmallUI=0' "$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
echo "package ok: $deb"
