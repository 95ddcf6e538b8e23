#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quirlanto from the build folder.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target program
exec ./build/quirlanto "$@"
