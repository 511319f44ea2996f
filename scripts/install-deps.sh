#!/usr/bin/env bash
# Installs what building, running and testing Trafalo needs on Debian 12.
# Needs root, or sudo for apt-get. Does nothing when all is there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev libcanberra-dev libudev-dev libpulse-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # run: fonts the window asks for, event sounds, interface descriptions
  fonts-liberation2 fonts-wine fonts-dejavu-core libcanberra-pulse sound-theme-freedesktop udev
  # test: a virtual desktop, network namespaces
  xvfb xauth openbox trayer x11-utils xdotool imagemagick dbus libglib2.0-bin python3 python3-dbusmock python3-xlib
  # test: a second window manager, a Wayland session with XWayland, Qt's Wayland plugin
  xfwm4 weston xwayland qt6-wayland
  iproute2 pulseaudio pulseaudio-utils bc faketime libfaketime util-linux
  # test: the window read through its accessibility tree
  at-spi2-core python3-pyatspi
  # test: drives taken off line by a real udisks2 on a private bus
  udisks2 e2fsprogs
  # package: the Debian package and its checks
  dpkg-dev lintian desktop-file-utils appstream file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" != 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
# The hardware database names network cards; build it when the package did not.
if [ ! -e /usr/lib/udev/hwdb.bin ] && [ ! -e /etc/udev/hwdb.bin ] && command -v systemd-hwdb >/dev/null; then
  $sudo systemd-hwdb update || true
fi
