#!/bin/bash
# The tray under a real XEmbed tray host: the icon appears, a left press opens the menu, a right
# press toggles the window, a quick double-click chooses nothing, a later start hands over a tel:
# link (the menu still opens while its question is open), and "&Beenden" ends the program and
# takes the icon away. Then, without a tray but with a window manager, "/AUTOSTART" comes up
# minimised, never out of reach.
# Usage: tray_e2e.sh <build folder> [screenshot folder]
set -u

build=$1
shots=${2:-}
e2e_name=tray-e2e
source "$(dirname "$0")/e2e_common.sh"
require_tools Xvfb trayer xdotool xwininfo xprop openbox

prog="$tmp/Mein Programm"
cmake --install "$build" --prefix "$prog" >/dev/null || fail "install"
start_x
start_tray
tray_pid=${pids[-1]}

"$prog/quirlanto" >"$tmp/quirlanto.log" 2>&1 &
qpid=$!
pids+=($qpid)

icon_line() { xwininfo -root -tree | grep -E '^ {10,}0x[0-9a-f]+ "quirlanto": \("quirlanto" "quirlanto"\)' | head -1; }
# The popup menu: a top-level "quirlanto" window that is mapped and is not the main window.
menu_open() {
  local id
  for id in $(xwininfo -root -tree | awk '/^     0x[0-9a-f]+ "quirlanto": \("quirlanto" "quirlanto"\)/ {
      split($5, g, "x"); if (g[1] + 0 > 100) print $1 }'); do
    mapped "$id" && return 0
  done
  return 1
}
has_icon() { test -n "$(icon_line)"; }

# First start: the new-file message, then the options card.
waitfor 15 box_open || fail "no new-file message"
xdotool key Return
waitfor 10 has_icon || fail "no tray icon in the tray"
icon=$(icon_line)
abs=$(sed -E 's/.* \+(-?[0-9]+)\+(-?[0-9]+)$/\1 \2/' <<<"$icon")
read -r ix iy <<<"$abs"
ix=$((ix + 10)); iy=$((iy + 12))
echo "tray icon at $ix,$iy"
win=$(window_id)
[ -n "$win" ] || fail "no main window"
waitfor 5 mapped "$win" || fail "main window not shown"

# Right press hides, the next one shows; the reaction comes with the press.
xdotool mousemove $ix $iy mousedown 3
waitfor 3 eval '! mapped '"$win" || fail "right press did not hide the window"
xdotool mouseup 3
sleep 0.6 # a quicker second press would be a double-click, which does nothing
xdotool mousedown 3
waitfor 3 mapped "$win" || fail "right press did not show the window"
xdotool mouseup 3
sleep 0.6

# Left press opens the menu at the mouse.
xdotool mousedown 1
waitfor 3 menu_open || fail "left press did not open the menu"
xdotool mouseup 1
sleep 0.3
[ -n "$shots" ] && import -window root "$shots/tray-menu.png"
xdotool key Escape
waitfor 3 eval '! menu_open' || fail "menu did not close"

# A quick double-click on the icon of a hidden window chooses nothing from the menu.
sleep 0.6
xdotool click 3
waitfor 3 eval '! mapped '"$win" || fail "window not hidden before the double-click"
sleep 0.6
xdotool click --repeat 2 --delay 80 1
sleep 0.8
mapped "$win" && fail "a double-click chose an item"
menu_open && xdotool key Escape
sleep 0.3

# A later start with "/AUTOSTART" leaves the hidden window hidden; one without arguments shows it.
mapped "$win" && fail "window shown before the later starts"
"$prog/quirlanto" /AUTOSTART || fail "later /AUTOSTART start did not end cleanly"
sleep 0.8
mapped "$win" && fail "a later /AUTOSTART start showed the window"
"$prog/quirlanto" || fail "later start did not end cleanly"
waitfor 3 mapped "$win" || fail "a later start did not show the window"
xdotool mousemove $ix $iy click 3
waitfor 3 eval '! mapped '"$win" || fail "right press did not hide the window again"

# A later start hands over a tel: link and ends at once; the question shows the number.
start=$(date +%s%N)
"$prog/quirlanto" 'tel:+49-89-123456' || fail "second start did not end cleanly"
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
echo "second start ended after ${elapsed} ms"
kill -0 $qpid || fail "first copy is gone"
waitfor 5 box_open || fail "no question for the tel: link"
waitfor 3 mapped "$win" || fail "window not shown for the tel: link"
sleep 0.3
[ -n "$shots" ] && import -window root "$shots/tel-question.png"
# The question is modal; the icon still opens the menu on a left press.
xdotool mousemove $ix $iy mousedown 1
waitfor 3 menu_open || fail "left press did not open the menu while the question was open"
xdotool mouseup 1
sleep 0.3
xdotool key Escape
waitfor 3 eval '! menu_open' || fail "menu over the question did not close"
box_open || fail "the question went away with the menu"
xdotool key Return # Nein is the default
waitfor 3 eval '! box_open' || fail "question did not close"

# "&Beenden" ends the program and the icon goes.
xdotool mousemove $ix $iy click 1
waitfor 3 menu_open || fail "menu for Beenden did not open"
sleep 0.6
xdotool key b
for _ in $(seq 50); do kill -0 $qpid 2>/dev/null || break; sleep 0.1; done
kill -0 $qpid 2>/dev/null && fail "program still running after Beenden"
wait $qpid; rc=$?
[ $rc -eq 0 ] || fail "exit code $rc"
[ -z "$(icon_line)" ] || fail "icon still in the tray"

kill $tray_pid; openbox >"$tmp/openbox.log" 2>&1 & pids+=($!)
sleep 1; "$prog/quirlanto" /AUTOSTART >>"$tmp/quirlanto.log" 2>&1 & pids+=($!)
waitfor 10 eval 'xprop -id "$(window_id)" WM_STATE 2>/dev/null | grep -q Iconic' || fail "/AUTOSTART without a tray not minimised"
echo "PASS"
