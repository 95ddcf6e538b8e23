#!/usr/bin/env bash
# Builds the Debian package dist/quirlanto_<version>_<arch>.deb with dpkg-buildpackage, from a
# copy of this tree so that the build leaves nothing here but dist/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

version=$(sed -nE 's/^project\(Quirlanto VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package.sh: no project(VERSION) in CMakeLists.txt" >&2; exit 1; }
arch=$(dpkg-architecture -qDEB_HOST_ARCH)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree="$work/quirlanto-$version"
mkdir "$tree"
# Build folders (those with a CMakeCache.txt) and earlier packages stay behind.
tar -c --exclude-vcs --exclude-tag-all=CMakeCache.txt --exclude=./dist . | tar -x -C "$tree"

# The package carries the program's version: a release not yet in debian/changelog gets an entry.
if [ "$(dpkg-parsechangelog -l debian/changelog -S Version)" != "$version" ]; then
  echo "package.sh: debian/changelog has no entry for $version; the package gets one"
  {
    printf 'quirlanto (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n\n' \
      "$version" "$version" "$(dpkg-parsechangelog -l debian/changelog -S Maintainer)" "$(date -R)"
    cat debian/changelog
  } >"$tree/debian/changelog"
fi

(cd "$tree" && dpkg-buildpackage --build=binary --no-sign -j2)
mkdir -p dist
cp "$work/quirlanto_${version}_${arch}.deb" dist/
echo "dist/quirlanto_${version}_${arch}.deb"
