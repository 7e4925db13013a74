#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, testing, packaging and running the product need.
# Run as root on a fresh machine; does nothing when every package is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-tools-dev-tools
  libqt6serialport6 libqt6svg6 qt6-svg-dev libgl1-mesa-dev
  qt6-qpa-plugins fonts-dejavu-core
  librsvg2-bin
  openssl
  desktop-file-utils appstream dpkg-dev file
  clang libclang-rt-14-dev
  libqt6sql6-sqlite sqlite3 libsqlite3-dev
  libudev-dev
  dbus-daemon
  lintian
  qt6-charts-dev libqt6opengl6-dev qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = 'install ok installed' ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    exec sudo bash "$0" "$@"
  fi
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root (or install them with apt-get) and try again." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
