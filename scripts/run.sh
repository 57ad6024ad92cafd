#!/usr/bin/env bash
# Installs what is missing, builds the Linux program and starts it. Without a display it runs
# the program on a virtual one for a few seconds and saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake --preset linux >/dev/null
cmake --build --preset linux

program=build/linux/tessaryn-desktop
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$program"
fi

echo "No display here: running the program on a virtual display for a few seconds."
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  kill "$program_pid" "$wm" "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
program_pid=0 wm=0
trap cleanup EXIT
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
openbox >/dev/null 2>&1 &
wm=$!
dbus-run-session -- "$program" &
program_pid=$!
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name 'Zentora' 2>/dev/null | head -n1 || true)
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || { echo "The window did not appear." >&2; exit 1; }
sleep 4  # let the page and the captions settle before the picture is taken
shot="$PWD/build/linux/screenshot.png"
import -window root "$shot"
echo "Screenshot: $shot"
xdotool windowactivate --sync "$window" key Escape
wait "$program_pid" && echo "The program closed with exit code 0."
