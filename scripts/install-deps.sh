#!/usr/bin/env bash
# Installs what building, running and testing Rollbox need on Debian 12, when missing.
# Further Debian packages that one script needs are given as arguments; --desktop adds a desktop
# to run the programs on without a screen: Xvfb, a window manager, Xfce's panel as a tray, a
# session D-Bus with the accessibility bus, and the tools that type, click and read it; and
# Weston with Qt's Wayland platform, to run them on Wayland as well.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
    fonts-liberation fontconfig
)
desktop=(
    xvfb x11-utils x11-xkb-utils xfwm4 xfce4-panel
    dbus-daemon dbus-x11 libglib2.0-bin at-spi2-core python3 python3-pyatspi
    xdotool xclip imagemagick
    weston qt6-wayland
)
for argument in "$@"; do
    if [[ $argument == --desktop ]]; then
        packages+=("${desktop[@]}")
    else
        packages+=("$argument")
    fi
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
