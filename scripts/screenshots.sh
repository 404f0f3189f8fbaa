#!/usr/bin/env bash
# Takes make run's screenshot RUNS times (default 20) on a virtual display, each from a fresh
# start of the built program, and tells how many show the finished window: every picture must
# be the same below the title strip, whose clock changes. The pictures stay in
# BUILD/screenshots/ to look at. With FRESH=1 each run has a display and a Wine prefix of its
# own, made anew, as a new user's first make run has.
#   [FRESH=1] scripts/screenshots.sh [BUILD] [RUNS]
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
runs=${2:-20}
bin=$build/windows/bin
session=$(dirname "$0")/wine-session.sh
prefix=$build/wine-prefix
state=$build/screenshots-session
shots=$build/screenshots
rm -rf "$shots"
mkdir -p "$shots"
[ "${FRESH:-0}" = 1 ] && prefix=$build/screenshots-prefix
trap '"$session" stop "$state" "$prefix"' EXIT
for i in $(seq -w 1 "$runs"); do
    if [ "${FRESH:-0}" = 1 ] || [ "$i" -eq 1 ]; then
        "$session" stop "$state" "$prefix" 2>/dev/null || true
        [ "${FRESH:-0}" = 1 ] && rm -rf "$prefix"
        "$session" start "$state" "$prefix"
    fi
    "$session" run "$state" "$prefix" "$bin/snapshot.exe" "--program=Z:$bin/dayvane.exe" "--out=Z:$shots/run-$i.png"
done
python3 - "$shots" <<'PY'
import pathlib, struct, sys, zlib
# The snapshot's own PNG form: 8-bit RGB, one IDAT, rows after a filter byte of 0.
def rows(path):
    data = path.read_bytes()
    width, height = struct.unpack(">II", data[16:24])
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            idat += data[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = 1 + 3 * width
    return [raw[y * stride:(y + 1) * stride] for y in range(height)]
# The picture is the window's rectangle and 16 pixels around it; the strip is 23 rows high.
below = {}
for path in sorted(pathlib.Path(sys.argv[1]).glob("run-*.png")):
    below.setdefault(b"".join(rows(path)[16 + 23:]), []).append(path.name)
largest = max(below.values(), key=len)
print(f"{len(largest)} of {sum(map(len, below.values()))} screenshots alike below the strip"
      + ("" if len(below) == 1 else "; the others: " + ", ".join(n for v in below.values() if v is not largest for n in v)))
sys.exit(0 if len(below) == 1 else 1)
PY
