#!/bin/bash
# package_e2e.sh's part as the new user, in a clean environment.
# Usage: package_user.sh <folder for notes> <major.minor>
set -u
out=$1
title="^Quirlanto ${2//./\\.}\$"
data="$HOME/.local/share/quirlanto"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; }
trap cleanup EXIT
fail() { echo "FAIL (user): $*"; xwininfo -root -tree 2>/dev/null | grep -v "has no name" | head -20; exit 1; }
waitfor() { # seconds, command...
  local n=$(($1 * 10)); shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}

export XDG_RUNTIME_DIR="$out/run" DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
mkdir -m 700 "$XDG_RUNTIME_DIR"
exec 3<>"$out/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
pids+=($!)
waitfor 10 test -s "$out/displayfd" || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$out/displayfd")

# xdotool matches names without regard to case: the message box is the one titled exactly so.
box() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Quirlanto$' 2>/dev/null); do
    xwininfo -id "$id" | grep -q '"Quirlanto"$' && { echo "$id"; return 0; }
  done
  return 1
}
box_open() { box >/dev/null; }
main_window() { xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1; }
# Without a window manager a key sent right as a window maps can be lost: sent again until done.
press_until() { # window, key, command...
  local win=$1 key=$2; shift 2
  for _ in $(seq 20); do
    xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool key --clearmodifiers "$key"
    waitfor 1 "$@" && return 0
  done
  return 1
}

# "&Hilfe" goes to the browser: here a launcher of the test's own that notes what it got.
mkdir -p "$HOME/.local/share/applications"
printf '#!/bin/sh\necho "$@" >>"%s/browser.txt"\n' "$out" >"$out/browser"
chmod +x "$out/browser"
printf '[Desktop Entry]\nType=Application\nName=Browser\nExec=%s/browser %%u\nMimeType=text/html;\n' "$out" \
  >"$HOME/.local/share/applications/test-browser.desktop"
xdg-mime default test-browser.desktop text/html

cd "$HOME"
quirlanto >"$out/quirlanto.log" 2>&1 &
qpid=$!
pids+=($qpid)
waitfor 30 box_open || fail "no first-start message"
printf '[QUIRLANTO VERSION 4]\r\n0,1,0,0,"",0,"00","49","89",12,"","",0\r\n"B\374ro 1","B\374ro 2","Privat 1","Privat 2"\r\n' \
  >"$out/expected.ini"
cmp "$data/Telefonregister.ini" "$out/expected.ini" || fail "Telefonregister.ini is not the new file"
[ "$(stat -c %a "$data")" = 700 ] || fail "$data has mode $(stat -c %a "$data")"
press_until "$(box)" Return eval '! box_open' || fail "first-start message did not close"
waitfor 20 eval '[ -n "$(main_window)" ]' || fail "no main window"
win=$(main_window)

press_until "$win" alt+h test -s "$out/browser.txt" || fail "Hilfe did not open the browser"
grep -q "/usr/share/quirlanto/hilfe/index.html" "$out/browser.txt" \
  || fail "Hilfe opened $(cat "$out/browser.txt")"

# "Öffnen mit" on a contact hands it to the running copy; a number of a French address is read as
# France writes it, which needs the phone-number module and its libraries from the package.
printf '%s\r\n' 'BEGIN:VCARD' 'VERSION:3.0' 'FN:Boulangerie Dupont' \
  'ADR;TYPE=work:;;12 rue de la Paix;Paris;;75002;Frankreich' 'TEL;TYPE=work:01 42 68 53 00' 'END:VCARD' \
  >"$out/kontakt.vcf"
quirlanto "$out/kontakt.vcf" >>"$out/second.log" 2>&1 || fail "second start with a vCard: exit $?"
import_dialog() { xdotool search --onlyvisible --name '^Kontakte importieren$' 2>/dev/null | head -1; }
waitfor 20 eval '[ -n "$(import_dialog)" ]' || fail "no import dialog"
press_until "$(import_dialog)" Return eval '[ -z "$(import_dialog)" ]' || fail "import dialog did not close"
waitfor 10 grep -qa '"Boulangerie Dupont","33142685300",1' "$data/Telefonregister.ini" \
  || fail "import: $(tr -d '\r' <"$data/Telefonregister.ini"; cat "$out/quirlanto.log")"

xdg-mime default example.moltara.Quirlanto.desktop x-scheme-handler/tel
[ "$(xdg-mime query default x-scheme-handler/tel)" = example.moltara.Quirlanto.desktop ] || fail "xdg-mime"
xdg-open tel:+4930123456 || fail "xdg-open tel: failed"
waitfor 20 box_open || fail "no question for the tel: link"
press_until "$(box)" Return eval '! box_open' || fail "question did not close" # Nein is the default

press_until "$win" alt+e eval '! kill -0 '"$qpid"' 2>/dev/null' || fail "program did not end after Ende"
wait "$qpid" || fail "exit code $?"
ls -la "$data"
[ ! -e /usr/share/quirlanto/Telefonregister.ini ] || fail "register written beside the program"
echo "user part done"
