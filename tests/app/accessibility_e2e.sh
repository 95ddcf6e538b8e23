#!/bin/bash
# The program on the accessibility bus, as a screen reader sees it: a private session bus with
# at-spi-bus-launcher, the program with Qt's bridge on, and accessibility_walk.py over the main
# window (a card and the options card), the entry editor, "Anwahl" (a modem that never answers)
# and "Kontakte importieren", and the status bar's announcement of a dial. Then a number marked
# in another window: the later start "/MARKIERUNG" asks about it, and "Ja" dials it. Only keys
# drive the program.
# Usage: accessibility_e2e.sh <build folder> [screenshot folder]
set -u
build=$1
shots=${2:-}
e2e_name=accessibility-e2e
here=$(dirname "$0")
source "$here/e2e_common.sh"
require_tools Xvfb xdotool xwininfo dbus-daemon socat xclip
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "SKIP: at-spi-bus-launcher missing (scripts/packages.sh installs at-spi2-core)"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi missing"; exit 77; }

prog="$tmp/programm"
cmake --install "$build" --prefix "$prog" >/dev/null || fail "install"
start_x
dbus-daemon --session --nofork --address="unix:path=$tmp/bus" >"$tmp/dbus.log" 2>&1 &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/bus"
waitfor 10 test -S "$tmp/bus" || fail "dbus-daemon did not start"
"$launcher" --launch-immediately >"$tmp/atspi.log" 2>&1 &
pids+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# A modem on a pseudo-terminal that takes the dial command and never answers.
socat pty,raw,echo=0,link="$tmp/modem" pty,raw,echo=0,link="$tmp/line" >"$tmp/socat.log" 2>&1 &
pids+=($!)
waitfor 5 test -e "$tmp/modem" || fail "socat did not make the modem"
cat "$tmp/line" >"$tmp/dialed.log" &
pids+=($!)
mkdir -p "$XDG_CONFIG_HOME/MOLTARA Software"
printf '[Ports]\nCOM1=%s\n' "$tmp/modem" >"$XDG_CONFIG_HOME/MOLTARA Software/Quirlanto.conf"

"$prog/quirlanto" >"$tmp/quirlanto.log" 2>&1 &
qpid=$!
pids+=($qpid)

walk() { # window title [a text it must show]
  echo "== $1"
  /usr/bin/python3 "$here/accessibility_walk.py" "$1" 15 "${@:2}" \
    || { rc=1; [ -n "$shots" ] && import -window root "$shots/a11y-$1.png"; }
}
rc=0
waitfor 15 box_open || fail "no new-file message"
xdotool key Return
win=$(window_id)
[ -n "$win" ] || fail "no main window"
waitfor 5 mapped "$win" || fail "main window not shown"
# A new register opens the options card.
walk "Quirlanto 4.1"
xdotool key ctrl+Tab
sleep 0.5
walk "Quirlanto 4.1"

# Insert in the list: the entry editor. Enter moves through the boxes, then takes the entry.
xdotool key Insert
walk "Telefonbuch"
xdotool type "Muster, Max"
xdotool key Return
xdotool type "089 123456"
xdotool key Return Return
sleep 0.5
# Enter on the entry dials it; the modem takes the command and stays silent. The status bar
# says so to the screen reader.
/usr/bin/python3 "$here/accessibility_walk.py" --announced "Wähle " 10 >"$tmp/announced.log" 2>&1 &
listener=$!
waitfor 5 grep -q listening "$tmp/announced.log" || fail "no listener: $(cat "$tmp/announced.log")"
xdotool key Return
wait $listener || rc=1
grep -v listening "$tmp/announced.log"
walk "Anwahl"
xdotool key Escape
sleep 0.5

printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Schmidt\r\nN:Schmidt;Anna;;;\r\nTEL:+49 30 123456\r\nEND:VCARD\r\n' >"$tmp/anna.vcf"
"$prog/quirlanto" "$tmp/anna.vcf" || fail "later start with a vCard file"
walk "Kontakte importieren"
xdotool key Escape

# Marked elsewhere (the primary selection), dialed from a later start with "Ja".
printf '030 1234567' | xclip -selection primary
"$prog/quirlanto" /markierung || fail "later start with /MARKIERUNG"
walk "Quirlanto" "Soll die Nummer +49 30 1234567 gewählt werden?"
[ -n "$shots" ] && import -window root "$shots/marked-question.png"
xdotool key alt+j
waitfor 5 grep -q "ATDT0301234567" "$tmp/dialed.log" || fail "Ja did not dial the marked number: $(tr '\r' ' ' <"$tmp/dialed.log")"
xdotool key Escape

kill -0 $qpid || fail "program ended"
[ $rc -eq 0 ] && echo "PASS"
exit $rc
