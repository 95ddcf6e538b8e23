#!/bin/bash
# The real program on an X11 desktop: vCard files of each version handed to a second start
# ("Öffnen mit") are imported through "Kontakte importieren"; Ctrl+F finds an imported name and
# Enter dials it through the phone program (the real xdg-open and a recording tel: handler);
# with Quirlanto itself as the tel: handler a message says so and nothing is dialed; card 1
# exported through the real save dialog and imported into card 2 gives the same entries.
# Usage: contacts_e2e.sh <build folder> <vCard sample folder>
set -u
build=$1
samples=$2
for tool in Xvfb xdotool xwininfo xdg-open xdg-mime; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing (scripts/packages.sh installs it)"; exit 77; }
done

tmp=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

prog="$tmp/programm"
cmake --install "$build" --prefix "$prog" >/dev/null || fail "install"
mkdir -p "$tmp/cfg/MOLTARA Software" "$tmp/data/applications" "$tmp/run" && chmod 700 "$tmp/run"
printf '[Dial]\nDevice=phone-program\n' >"$tmp/cfg/MOLTARA Software/Quirlanto.conf"

exec 3<> "$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$tmp/displayfd" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$tmp/displayfd")
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent XDG_CONFIG_HOME="$tmp/cfg" XDG_RUNTIME_DIR="$tmp/run"
export XDG_DATA_HOME="$tmp/data" HOME="$tmp" QT_QPA_PLATFORM=xcb
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION BROWSER

# The recording phone program.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> %s/dialed.txt\n' "$tmp" >"$tmp/telefon.sh"
chmod +x "$tmp/telefon.sh"
printf '[Desktop Entry]\nType=Application\nName=Telefon\nExec=%s/telefon.sh %%u\nMimeType=x-scheme-handler/tel;\n' \
  "$tmp" >"$tmp/data/applications/telefon.desktop"
xdg-mime default telefon.desktop x-scheme-handler/tel || fail "xdg-mime default"

waitfor() { # seconds, command...
  local n=$(( $1 * 10 )); shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}
titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
box_open() { [ -n "$(titled Quirlanto)" ]; }
dialog_open() { [ -n "$(titled 'Kontakte importieren')" ]; }
register() { iconv -f WINDOWS-1252 -t UTF-8 "$prog/Telefonregister.ini" | tr -d '\r'; }

"$prog/quirlanto" >"$tmp/quirlanto.log" 2>&1 &
pids+=($!)
waitfor 15 box_open || fail "no new-file message"
xdotool key Return
waitfor 5 eval '! box_open' || fail "new-file message did not close"
win=$(xdotool search --name '^Quirlanto 4\.1$' | head -1)
[ -n "$win" ] || fail "no main window"
xdotool windowfocus --sync "$win"
xdotool key ctrl+Tab # from the options card to card 1
sleep 0.5

for version in 2.1 3.0 4.0; do
  cp "$samples/contacts-$version.vcf" "$tmp/kontakte $version.vcf"
  (cd "$tmp" && "$prog/quirlanto" "kontakte $version.vcf") >>"$tmp/second.log" 2>&1
  waitfor 10 dialog_open || fail "$version: no import dialog"
  xdotool windowfocus --sync "$(titled 'Kontakte importieren')"
  xdotool key Return # "&Importieren" is the default button
  waitfor 5 eval '! dialog_open' || fail "$version: dialog did not close"
done
for line in '1,"Müller, Jörg (mobil)","491711234567",1' '1,"Straßer, René","4971123456",1' \
  '1,"Weber, von, Anna;Maria (dienstlich)","49894711",1' '1,"Émile Zola (3)","49895551",1' \
  '1,"Stadtwerke","49892361",1'; do
  waitfor 5 eval 'register | grep -qxF "$line"' || fail "not imported: $line"
done
[ "$(register | grep -c '^1,')" = 10 ] || fail "expected 10 entries: $(register)"

# Ctrl+F, a name without its accents, Enter: the phone program gets the number.
xdotool windowfocus --sync "$win"
xdotool key ctrl+f
sleep 0.3
xdotool type --delay 50 'zola (3'
sleep 0.3
xdotool key Return
waitfor 10 test -s "$tmp/dialed.txt" || fail "nothing reached the phone program"
[ "$(cat "$tmp/dialed.txt")" = "tel:+49895551" ] || fail "phone program got: $(cat "$tmp/dialed.txt")"
grep -q '^0,' <(register | sed -n 2p) || fail "the register's device changed: $(register | sed -n 2p)"

# Quirlanto as its own tel: handler: refused with a message, nothing dialed.
cp "$prog/quirlanto.desktop" "$tmp/data/applications/quirlanto.desktop"
xdg-mime default quirlanto.desktop x-scheme-handler/tel
xdotool windowfocus --sync "$win"
xdotool key Return
waitfor 10 box_open || fail "no message when Quirlanto is the tel: handler"
xdotool key Return
[ "$(wc -l <"$tmp/dialed.txt")" = 1 ] || fail "dialed although refused"

# Export card 1 through the menu and the real save dialog; the file imported into card 2 gives
# the same entries.
xdotool windowfocus --sync "$win"
xdotool key Escape # the search field, if still open
xdotool key Menu
sleep 0.5
xdotool key e e Return # "&Einfügen" has the same access key
waitfor 10 eval '[ -n "$(titled "Kontakte exportieren")" ]' || fail "no save dialog"
xdotool windowfocus --sync "$(titled 'Kontakte exportieren')"
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 "$tmp/karte1.vcf"
xdotool key Return
waitfor 10 test -s "$tmp/karte1.vcf" || fail "nothing exported"
xdotool windowfocus --sync "$win"
xdotool key ctrl+Tab # card 2
sleep 0.5
"$prog/quirlanto" "$tmp/karte1.vcf" >>"$tmp/second.log" 2>&1
waitfor 10 dialog_open || fail "export: no import dialog"
xdotool windowfocus --sync "$(titled 'Kontakte importieren')"
xdotool key Return
waitfor 5 eval '[ "$(register | grep -c "^2,")" = 10 ]' || fail "round trip: $(register)"
[ "$(register | grep '^1,' | cut -c3-)" = "$(register | grep '^2,' | cut -c3-)" ] || fail "round trip differs: $(register)"
echo "PASS"
