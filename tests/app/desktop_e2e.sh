#!/bin/bash
# The real program on an X11 desktop: Qt's own texts in German, the focus in "Land" when the
# options card is entered, Tab from a list on to the bottom row, the access keys of "&Ausblenden"
# and "Auto&start", the autostart entry in UTF-8, and tel: links through the launcher with the
# real xdg-open and gio; seven windows named on the accessibility bus, a marked number dialed (on a pty).
# Usage: desktop_e2e.sh <build folder> [screenshot folder]
set -u
build=$1
shots=${2:-}
e2e_name=desktop-e2e
source "$(dirname "$0")/e2e_common.sh"
require_tools Xvfb trayer xdotool xwininfo xdg-open xdg-mime gio iconv dbus-daemon socat xclip
[ -x /usr/libexec/at-spi-bus-launcher ] && /usr/bin/python3 -c 'import pyatspi' || { echo "SKIP: at-spi2-core, python3-pyatspi"; exit 77; }

# A folder without blanks: its launcher's Exec= needs no quotes, which xdg-open's generic mode needs.
prog="$tmp/programm"
cmake --install "$build" --prefix "$prog" >/dev/null || fail "install"
grep -qx "Exec=$prog/quirlanto %u" "$prog/quirlanto.desktop" || fail "launcher quotes a plain path: $(grep Exec= "$prog/quirlanto.desktop")"
start_x
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION BROWSER

cp "$prog/quirlanto.desktop" "$tmp/data/applications/quirlanto.desktop"
xdg-mime default quirlanto.desktop x-scheme-handler/tel || fail "xdg-mime default"

start_tray
dbus-daemon --session --nofork --address="unix:path=$tmp/bus" 2>/dev/null & pids+=($!)
export DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/bus" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
waitfor 5 test -S "$tmp/bus" && { /usr/libexec/at-spi-bus-launcher --launch-immediately &>/dev/null & pids+=($!); }
walk() { /usr/bin/python3 "$(dirname "$0")/accessibility_walk.py" "$@" || fail "accessibility: $1"; }
socat pty,raw,echo=0,link="$tmp/modem" pty,raw,echo=0,link="$tmp/line" 2>/dev/null & pids+=($!)
waitfor 5 test -e "$tmp/line" && { cat "$tmp/line" >"$tmp/dialed" & pids+=($!); }
mkdir -p "$tmp/cfg/MOLTARA Software" && printf '[Ports]\nCOM1=%s\n' "$tmp/modem" >"$tmp/cfg/MOLTARA Software/Quirlanto.conf"

"$prog/quirlanto" >"$tmp/quirlanto.log" 2>&1 &
qpid=$!
pids+=($qpid)

register_line() { sed -n "${1}p" "$prog/Telefonregister.ini" | tr -d '\r'; }

waitfor 15 box_open || fail "no new-file message"
xdotool key Return
waitfor 5 eval '! box_open' || fail "new-file message did not close"
win=$(window_id)
[ -n "$win" ] || fail "no main window"
waitfor 5 mapped "$win" || fail "main window not shown"

# Qt's German texts are loaded (the translation file is mapped into the program).
grep -q 'qtbase_de.qm' /proc/$qpid/maps || fail "Qt's German translation not loaded"
! grep -q 'quirlanto-phonenumbers' /proc/$qpid/maps || fail "phone-number module loaded at start, not at its first use"

walk "Quirlanto 4.1"
# The options card came up with the focus in "Land": typed digits land there.
xdotool key End type 1
sleep 0.3
xdotool key ctrl+Tab
waitfor 5 eval '[ "$(register_line 2 | cut -d, -f8)" = "\"491\"" ]' || fail "typed digit did not land in Land: $(register_line 2)"
# From a card into the options card by Ctrl+Shift+Tab: the focus is in "Land" again.
xdotool key ctrl+shift+Tab
sleep 0.5
xdotool key End BackSpace
sleep 0.3
[ -n "$shots" ] && import -window root "$shots/options-focus.png"
xdotool key ctrl+Tab
waitfor 5 eval '[ "$(register_line 2 | cut -d, -f8)" = "\"49\"" ]' || fail "Ctrl+Shift+Tab left the focus elsewhere: $(register_line 2)"

# A German context menu on a text box, for the eye.
if [ -n "$shots" ]; then
  xdotool key ctrl+shift+Tab
  sleep 0.5
  xdotool key Menu
  sleep 0.5
  import -window root "$shots/context-menu.png"
  xdotool key Escape
  sleep 0.3
  xdotool key ctrl+Tab
  sleep 0.3
fi

# An entry through the editor, dialed; Esc ends the dial nobody answers, the status bar says so; Ctrl+R redials.
xdotool key Insert && walk "Telefonbuch" && xdotool type "Muster, Max" && xdotool key Return
xdotool type "089 123456" && xdotool key Return Return && sleep 0.5 && xdotool key Return && walk "Anwahl"
xdotool key Escape && walk "Quirlanto 4.1" "Anwahl abgebrochen." && xdotool windowfocus --sync "$win" key ctrl+r && walk "Anwahl" && xdotool key Escape
# On card 1 the list has the focus; Tab goes on to "&Wähle Nr. in Zwischenablage", whose click
# says that the clipboard holds no text.
xdotool key Tab
sleep 0.3
xdotool key space
waitfor 5 box_open || fail "Tab from the list did not reach the clipboard button"
xdotool key Return
waitfor 5 eval '! box_open' || fail "clipboard message did not close"
# Without a window manager nobody hands the keyboard back to the window after a box.
xdotool windowfocus --sync "$win"

# Alt+S ticks "Auto&start": the entry is written in UTF-8.
xdotool key alt+s
entry="$tmp/cfg/autostart/Quirlanto.desktop"
waitfor 5 test -f "$entry" || fail "Alt+S did not tick Auto&start"
iconv -f UTF-8 -t UTF-8 "$entry" >/dev/null || fail "autostart entry is not UTF-8"
grep -qx 'Comment=Wählhilfe beim Anmelden im Infobereich starten' "$entry" || fail "autostart Comment: $(grep Comment= "$entry")"
# Alt+A is "&Ausblenden" alone now.
xdotool key alt+a
waitfor 5 eval '! mapped '"$win" || fail "Alt+A did not hide the window"

# tel: links through the launcher, with the real xdg-open and gio.
for opener in "xdg-open" "gio open"; do
  $opener 'tel:+4930123456' >"$tmp/opener.log" 2>&1 || fail "$opener: $(cat "$tmp/opener.log")"
  waitfor 10 box_open || fail "$opener: no dial question"
  sleep 0.3
  [ -n "$shots" ] && import -window root "$shots/tel-$(echo "$opener" | cut -d' ' -f1).png"
  xdotool key Return # Nein is the default
  waitfor 5 eval '! box_open' || fail "$opener: question did not close"
done
grep -q 'quirlanto-phonenumbers' /proc/$qpid/maps || fail "tel: question shown without the phone-number module"

"$prog/quirlanto" "$(realpath "$(dirname "$0")/../register/data/contacts-3.0.vcf")" && walk "Kontakte importieren" && xdotool key Escape
printf '030 1234567' | xclip -selection primary && "$prog/quirlanto" /markierung || fail "/MARKIERUNG" # marked elsewhere
walk "Quirlanto" "Soll die Nummer +49 30 1234567 gewählt werden?" && xdotool key alt+j
waitfor 5 grep -q ATDT0301234567 "$tmp/dialed" || fail "Ja did not dial the marked number"
# The call list keeps both dials; choosing the router with no phone set up opens its dialog.
xdotool key Escape && sleep 0.5 && "$prog/quirlanto" /ANRUFLISTE && walk "Anrufliste" && xdotool key Escape
xdotool windowfocus --sync "$win" key ctrl+shift+Tab && sleep 0.5 && xdotool key alt+b && walk "FRITZ!Box" && xdotool key Escape
kill -0 $qpid || fail "program ended"
echo "PASS"
