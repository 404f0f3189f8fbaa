#!/usr/bin/env bash
# Starts the built program under Wine. With a display it runs until the user closes it;
# without one it runs on a virtual display, saves a screenshot and closes through its OK path.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
bin=$build/windows/bin
session=$(dirname "$0")/wine-session.sh
prefix=$build/wine-prefix
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    # On the user's own desktop the program runs in the user's own Wine prefix.
    env -u WINEPREFIX wine "$bin/dayvane.exe"
    echo "Data files: $bin/qor_info.dat and $bin/qor_nots.dat"
    exit 0
fi

state=$build/run-session
trap '"$session" stop "$state" "$prefix"' EXIT
"$session" start "$state" "$prefix"
"$session" run "$state" "$prefix" "$bin/snapshot.exe" "--program=Z:$bin/dayvane.exe" "--out=Z:$build/screenshot.png"
echo "No display: the program ran on a virtual display and was closed through its OK path."
echo "Screenshot: $build/screenshot.png"
echo "Data files: $bin/qor_info.dat and $bin/qor_nots.dat"
