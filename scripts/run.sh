#!/usr/bin/env bash
# Installs what is needed, builds the programs and the demo database, and runs the program on it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
sample="$root/build/sample-db"
rm -rf "$sample"
"$root/build/bin/zor_sampledb" "$sample"
"$root/build/bin/zorexport" catalogue "DIR=$sample"
