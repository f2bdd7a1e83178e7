#!/usr/bin/env bash
# Installs what is needed, builds the programs and the demo database, and runs the program on it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The demo database when it has been built, else a small generated one.
data="$root/build/demo"
if [ ! -f "$data/zorgui.cfg" ]; then
    data="$root/build/sample-db"
    rm -rf "$data"
    "$root/build/bin/zor_sampledb" "$data"
    "$root/build/bin/zorexport" catalogue "DIR=$data"
    echo
fi

# Until the program is built, show what it would open.
if [ ! -x "$root/build/bin/zorgui2" ]; then
    exec "$root/build/bin/zorexport" catalogue "DIR=$data/"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display; start the program with: $root/build/bin/zorgui2 DIR=$data" >&2
    echo "     (or without a screen: xvfb-run -a $root/build/bin/zorgui2 DIR=$data)" >&2
    exit 0
fi
exec "$root/build/bin/zorgui2" "DIR=$data"
