# Shared by the end-to-end scripts that drive the real program on a private X server. Source it
# after setting `shots` (a screenshot folder, may be empty) and `e2e_name` (for the failure shot).

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool missing (scripts/packages.sh installs it)"; exit 77; }
  done
}

tmp=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  xwininfo -root -tree 2>/dev/null | grep -v "has no name" | head -20
  [ -n "${shots:-}" ] && import -window root "$shots/$e2e_name-failure.png" 2>/dev/null
  exit 1
}

# An X server of its own, and a session of its own below $tmp. No session bus: Qt then uses the
# XEmbed tray (and starts no stray bus daemon).
start_x() {
  mkdir -p "$tmp/cfg" "$tmp/data/applications" "$tmp/run" && chmod 700 "$tmp/run"
  exec 3<> "$tmp/displayfd"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$tmp/displayfd" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -1 "$tmp/displayfd")
  export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent XDG_CONFIG_HOME="$tmp/cfg" XDG_RUNTIME_DIR="$tmp/run"
  export XDG_DATA_HOME="$tmp/data" HOME="$tmp" QT_QPA_PLATFORM=xcb
}

start_tray() {
  trayer --edge top --align left --widthtype pixel --width 200 --heighttype pixel --height 32 \
    --transparent false --tint 0x888888 >"$tmp/trayer.log" 2>&1 &
  pids+=($!)
  sleep 1
}

waitfor() { # seconds, command...
  local n=$(( $1 * 10 )); shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
window_id() { xdotool search --name '^Quirlanto 4\.1$' 2>/dev/null | head -1; }
# xdotool matches names without regard to case: the message box is the one titled exactly so.
box_open() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Quirlanto$' 2>/dev/null); do
    xwininfo -id "$id" | grep -q '"Quirlanto"$' && return 0
  done
  return 1
}
