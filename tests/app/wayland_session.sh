#!/bin/bash
# Runs tst_wayland in weston with QT_QPA_PLATFORM unset, as on a Wayland desktop: first on a
# session without a tray, then with a session bus of its own and a StatusNotifierItem watcher,
# on Wayland and (as Plasma on X11) on X11. weston's headless backend offers no seat, so no
# keyboard focus and no clipboard: weston runs with its X11 backend inside Xvfb instead.
# Usage: wayland_session.sh <tst_wayland> <sniwatcher>
set -u
test=$1
watcher=$2
for tool in Xvfb weston wl-copy dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing (scripts/packages.sh installs it)"; exit 77; }
done
dpkg-query -W -f='${Status}' qt6-wayland 2>/dev/null | grep -q "ok installed" \
  || { echo "SKIP: qt6-wayland missing (scripts/packages.sh installs it)"; exit 77; }

tmp=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$tmp/weston.log" ] && tail -20 "$tmp/weston.log"; exit 1; }
waitfor() { # seconds, command...
  local n=$(($1 * 10)); shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}

mkdir -m 700 "$tmp/run"
mkdir "$tmp/home"
export XDG_RUNTIME_DIR="$tmp/run" HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_CURRENT_DESKTOP

exec 3<>"$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
waitfor 10 test -s "$tmp/displayfd" || fail "Xvfb did not start"
xdisplay=:$(head -1 "$tmp/displayfd")
DISPLAY=$xdisplay weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 \
  --socket=wayland-quirlanto --idle-time=0 --log="$tmp/weston.log" &
pids+=($!)
waitfor 15 test -S "$XDG_RUNTIME_DIR/wayland-quirlanto" || fail "weston did not start"

rc=0
wayland() { env -u DISPLAY WAYLAND_DISPLAY=wayland-quirlanto XDG_SESSION_TYPE=wayland "$@"; }

echo "== Wayland, no tray"
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent wayland "$test" firstStart clipboardDialWhileActive \
  telLinkFromSecondStart storedPositionLeftAlone noTrayMinimises || rc=1

dbus-daemon --session --nofork --address="unix:path=$tmp/bus" >"$tmp/dbus.log" 2>&1 &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/bus"
waitfor 10 test -S "$tmp/bus" || fail "dbus-daemon did not start"
"$watcher" >"$tmp/watcher.out" 2>&1 &
pids+=($!)
waitfor 10 grep -q ready "$tmp/watcher.out" || fail "watcher: $(cat "$tmp/watcher.out")"

echo "== Wayland, StatusNotifierItem"
wayland "$test" statusNotifierItem || rc=1
echo "== X11, StatusNotifierItem"
DISPLAY=$xdisplay XDG_SESSION_TYPE=x11 "$test" statusNotifierItem || rc=1
exit $rc
