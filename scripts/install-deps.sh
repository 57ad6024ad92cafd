#!/usr/bin/env bash
# Installs the Debian packages that are missing for building and running (`run`) or for
# building both targets and running every test (`test`). Uses sudo when not root.
set -euo pipefail

run_packages=(
  cmake ninja-build g++ pkg-config
  libgtk-3-dev libwebkit2gtk-4.1-dev libgtest-dev
  fonts-wqy-zenhei
  # a virtual display for machines without one
  xvfb xauth openbox xdotool imagemagick dbus
)
test_packages=(
  "${run_packages[@]}"
  x11-utils at-spi2-core python3 python3-gi gir1.2-atspi-2.0 gir1.2-gtk-3.0 locales
  g++-mingw-w64-x86-64 wine wine64 fonts-wine
)

case "${1:-}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=()
  ((EUID == 0)) || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q "${missing[@]}"
fi
