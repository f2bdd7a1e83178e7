#!/usr/bin/env bash
# Builds the large benchmark database (51 US states and 3,142 counties, 60 indicators, 40 years)
# into a directory and prints how long the import took and how big the result is.
#
# usage: scripts/make-us-db.sh [--counties-top] <target directory> [US data directory]
#                              [build directory]
#
#   --counties-top  the top level is the 3,142 counties (and the national total) in one region
#                   set, so that one map holds every county; there are no sub-region sets.
#                   Without it the top level is the 51 states, each with a set of its counties.
#
# The US data directory (default: shared/data/us beside the repository, <repository>/../shared/
# data/us, or beside the main repository when this is a git worktree elsewhere) holds
# counties.geojson, states.geojson, unemployment-2009.csv and state-fips.csv; the build
# directory (default build) holds bin/zorimport and bin/inddefc, which are built there when
# missing. Not part of the build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
variant=()
if [ "${1:-}" = "--counties-top" ]; then
    variant=(--counties-top)
    shift
fi
if [ $# -lt 1 ] || [ "${1:0:2}" = "--" ]; then
    echo "usage: $0 [--counties-top] <target directory> [US data directory] [build directory]" >&2
    exit 64
fi
target="$1"
# shared/data beside the repository; from a git worktree elsewhere, beside the main one.
data="${2:-$root/../shared/data/us}"
if [ -z "${2:-}" ] && [ ! -d "$data" ]; then
    common="$(git -C "$root" rev-parse --path-format=absolute --git-common-dir 2> /dev/null || true)"
    [ -n "$common" ] && data="$(dirname "$common")/../shared/data/us"
fi
build="${3:-$root/build}"
if [ ! -f "$data/counties.geojson" ]; then
    echo "$0: no counties.geojson in $data; name the US data directory" >&2
    exit 66
fi

if [ ! -x "$build/bin/zorimport" ] || [ ! -x "$build/bin/inddefc" ]; then
    ninja -C "$build" zorimport inddefc
fi

source_dir="$(mktemp -d "${TMPDIR:-/tmp}/zor-us-source.XXXXXX")"
trap 'rm -rf "$source_dir"' EXIT

start=$(date +%s.%N)
python3 "$root/scripts/us-source.py" "${variant[@]}" "$data" "$source_dir"
converted=$(date +%s.%N)
echo "source: $(du -sh "$source_dir" | cut -f1) in $(awk "BEGIN { printf \"%.1f\", $converted - $start }") s"

"$build/bin/zorimport" "$source_dir" "$target"
imported=$(date +%s.%N)
echo "import: $(awk "BEGIN { printf \"%.1f\", $imported - $converted }") s"
echo "database: $(find "$target" -type f | wc -l) files, $(du -sb "$target" | cut -f1) bytes" \
    "($(du -sh "$target" | cut -f1))"
