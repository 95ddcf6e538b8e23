#!/bin/sh
# The router's password in a real keyring (gnome-keyring in a private D-Bus session): stored by one
# run, found by the next, in no file as plain text. (Without a bus, tst_fritzboxdial sees the question.)
set -eu
helper=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/run"
mkdir -p -m 700 "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION
password="Zugang-$$-Quirl&Kennwort"

fail() { echo "FAIL: $*"; exit 1; }

# One desktop session: a bus, a keyring unlocked at login, then the helper.
session() {
  dbus-run-session -- sh -c '
    echo Anmeldekennwort | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null 2>&1 &
    keyring=$!
    for i in $(seq 100); do
      dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | grep -q true && break
      sleep 0.1
    done
    "$@"; status=$?
    kill $keyring; wait $keyring 2>/dev/null
    exit $status' sh "$@" 2>/dev/null
}

out=$(session "$helper" store fritz.box quirl "$password"); [ "$out" = stored ] || fail "store: $out"
out=$(session "$helper" find fritz.box quirl); [ "$out" = "found $password" ] || fail "next start: $out"
[ -n "$(ls "$XDG_DATA_HOME/keyrings")" ] || fail "no keyring file: the grep below would prove nothing"
if grep -r -l -F "$password" "$tmp"; then fail "the password stands in a file"; fi
echo "keyring: stored, found on the next start, in no file"
