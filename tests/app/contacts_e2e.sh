#!/bin/bash
# The real program on an X11 desktop: vCard files of each version handed to a second start
# ("Öffnen mit") are imported through "Kontakte importieren"; Ctrl+F finds an imported name and
# Enter dials it through the chosen phone program (a recording tel: handler); card 1 exported
# through the real save dialog and imported into card 2 gives the same entries.
# Usage: contacts_e2e.sh <build folder> <vCard sample folder>
set -u
build=$1
samples=$2
shots=
e2e_name=contacts-e2e
source "$(dirname "$0")/e2e_common.sh"
require_tools Xvfb xdotool xwininfo

prog="$tmp/programm"
cmake --install "$build" --prefix "$prog" >/dev/null || fail "install"
start_x
mkdir -p "$tmp/cfg/MOLTARA Software"
printf '[Dial]\nDevice=phone-program\nPhoneProgram=telefon.desktop\n' >"$tmp/cfg/MOLTARA Software/Quirlanto.conf"

unset XDG_CURRENT_DESKTOP DESKTOP_SESSION BROWSER

# The recording phone program.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> %s/dialed.txt\n' "$tmp" >"$tmp/telefon.sh"
chmod +x "$tmp/telefon.sh"
printf '[Desktop Entry]\nType=Application\nName=Telefon\nExec=%s/telefon.sh %%u\nMimeType=x-scheme-handler/tel;\n' \
  "$tmp" >"$tmp/data/applications/telefon.desktop"

titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
dialog_open() { [ -n "$(titled 'Kontakte importieren')" ]; }
register() { iconv -f WINDOWS-1252 -t UTF-8 "$prog/Telefonregister.ini" | tr -d '\r'; }

"$prog/quirlanto" >"$tmp/quirlanto.log" 2>&1 &
pids+=($!)
waitfor 15 box_open || fail "no new-file message"
xdotool key Return
waitfor 5 eval '! box_open' || fail "new-file message did not close"
win=$(window_id)
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
  '1,"Stadtwerke","49892361",1' '1,"Boulangerie Dupont","33142685300",1'; do
  waitfor 5 eval 'register | grep -qxF "$line"' || fail "not imported: $line"
done
[ "$(register | grep -c '^1,')" = 11 ] || fail "expected 11 entries: $(register)"

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

# Export card 1 through the menu and the real save dialog; the file, its group renamed to card 2's
# name, goes to card 2 with the same entries while card 1 is shown.
xdotool windowfocus --sync "$win"
xdotool key Escape # the search field, if still open
xdotool key Menu
sleep 0.5
xdotool key x # "E&xportieren …"
waitfor 10 eval '[ -n "$(titled "Kontakte exportieren")" ]' || fail "no save dialog"
xdotool windowfocus --sync "$(titled 'Kontakte exportieren')"
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 "$tmp/karte1.vcf"
xdotool key Return
waitfor 10 test -s "$tmp/karte1.vcf" || fail "nothing exported"
grep -qx $'CATEGORIES:Büro 1\r' "$tmp/karte1.vcf" || fail "no group in the export"
sed -i 's/^CATEGORIES:Büro 1/CATEGORIES:büro 2/' "$tmp/karte1.vcf"
"$prog/quirlanto" "$tmp/karte1.vcf" >>"$tmp/second.log" 2>&1
waitfor 10 dialog_open || fail "export: no import dialog"
xdotool windowfocus --sync "$(titled 'Kontakte importieren')"
xdotool key Return
waitfor 5 eval '[ "$(register | grep -c "^2,")" = 11 ]' || fail "round trip: $(register)"
[ "$(register | grep '^1,' | cut -c3-)" = "$(register | grep '^2,' | cut -c3-)" ] || fail "round trip differs: $(register)"
echo "PASS"
