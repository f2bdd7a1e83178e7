#!/usr/bin/env bash
# Configures and builds one build tree. Usage: build.sh <build dir> [cmake options...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"
shift
mkdir -p "$dir"
cmake -S "$root" -B "$dir" -G Ninja "$@" > "$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; exit 1; }
ninja -C "$dir" -j"$(nproc)"
