#!/bin/bash
# The launchers (program folder and package) and the AppStream metadata as this build writes them.
# Usage: validate_files.sh <build folder>
set -u
build=$1
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing (scripts/packages.sh installs it)"; exit 77; }
done
rc=0
for entry in "$build/quirlanto.desktop" "$build/packaging/example.moltara.Quirlanto.desktop"; do
  out=$(desktop-file-validate "$entry" 2>&1)
  [ $? -eq 0 ] && [ -z "$out" ] || { echo "FAIL: $entry"; echo "$out"; rc=1; }
  for switch in /ZWISCHENABLAGE /MARKIERUNG /WAHLWIEDERHOLUNG /ANRUFLISTE; do # its actions
    grep -q "^Exec=.* $switch\$" "$entry" || { echo "FAIL: $entry has no action for $switch"; rc=1; }; done
done
appstreamcli validate --no-net "$build/packaging/example.moltara.Quirlanto.metainfo.xml" || rc=1
exit $rc
