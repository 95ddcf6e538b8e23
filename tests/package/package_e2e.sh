#!/bin/bash
# The Debian package as a new user meets it: built by package.sh and checked by lintian and the
# desktop and AppStream validators; installed with apt-get; started by a fresh unprivileged user
# under Xvfb (first start, data in ~/.local/share/quirlanto, help from /usr/share/quirlanto, a
# tel: link through xdg-open); purged again, which leaves the user's data alone.
# Usage: package_e2e.sh <source folder>
set -u
src=$(cd "$1" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root (installs a package, creates a user)"; exit 77; }
for tool in dpkg-buildpackage dh lintian desktop-file-validate appstreamcli apt-get useradd runuser \
  Xvfb xdotool xwininfo xdg-open xdg-mime file; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing (scripts/packages.sh installs it)"; exit 77; }
done
if dpkg-query -W -f='${Status}' quirlanto 2>/dev/null | grep -q "ok installed"; then
  echo "SKIP: a quirlanto package is installed already; the test would replace and purge it"
  exit 77
fi

version=$(sed -nE 's/^project\(Quirlanto VERSION ([0-9.]+).*/\1/p' "$src/CMakeLists.txt")
deb="$src/dist/quirlanto_${version}_$(dpkg --print-architecture).deb"
appid=example.moltara.Quirlanto
user=quirltest$$
tmp=$(mktemp -d)
chmod 755 "$tmp"
installed=0
created=0
userpid=
cleanup() {
  [ -n "$userpid" ] && kill "$userpid" 2>/dev/null && wait "$userpid" 2>/dev/null
  if [ $created -eq 1 ]; then
    for p in $(ps -u "$user" -o pid= 2>/dev/null); do kill "$p" 2>/dev/null; done
    sleep 0.5
    userdel -r "$user" 2>/dev/null
  fi
  [ $installed -eq 1 ] && apt-get purge -y -qq quirlanto >/dev/null 2>&1
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

start=$(date +%s)
"$src/package.sh" >"$tmp/package.log" 2>&1 || { tail -30 "$tmp/package.log"; fail "package.sh"; }
echo "package built in $(( $(date +%s) - start )) s: $deb"
[ -f "$deb" ] || fail "no $deb"

lintian "$deb" >"$tmp/lintian.txt" 2>&1
echo "lintian:"; sed 's/^/  /' "$tmp/lintian.txt"
grep -q '^E:' "$tmp/lintian.txt" && fail "lintian reports errors"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$tmp/apt.log" 2>&1 \
  || { cat "$tmp/apt.log"; fail "apt-get install"; }
installed=1
dpkg -L quirlanto >"$tmp/files.txt"
echo "installed files:"; sed 's/^/  /' "$tmp/files.txt"
desktop-file-validate "/usr/share/applications/$appid.desktop" || fail "desktop file"
appstreamcli validate --no-net "/usr/share/metainfo/$appid.metainfo.xml" || fail "AppStream metadata"
grep -qx 'Exec=quirlanto %u' "/usr/share/applications/$appid.desktop" || fail "Exec line"
grep -qx 'MimeType=x-scheme-handler/tel;text/vcard;text/x-vcard;' "/usr/share/applications/$appid.desktop" || fail "MimeType line"

useradd -m -s /bin/bash "$user" || fail "useradd"
created=1
home=$(getent passwd "$user" | cut -d: -f6)
mkdir "$tmp/out" && chown "$user" "$tmp/out"
cp "$(dirname "$0")/package_user.sh" "$tmp/"
runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin LANG=C.UTF-8 \
  bash "$tmp/package_user.sh" "$tmp/out" "${version%.*}" &
userpid=$!
wait "$userpid"
rc=$?
userpid=
[ $rc -eq 0 ] || fail "as the new user (exit $rc)"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq quirlanto >/dev/null 2>&1 || fail "apt-get purge"
installed=0
while read -r path; do
  [ -f "$path" ] || [ -L "$path" ] || continue
  fail "$path left after purge"
done <"$tmp/files.txt"
for dir in /usr/share/quirlanto /usr/lib/*/quirlanto; do
  [ -e "$dir" ] && fail "$dir left after purge"
done
[ -f "$home/.local/share/quirlanto/Telefonregister.ini" ] || fail "purge took the user's register"
echo "PASS"
