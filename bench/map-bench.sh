#!/usr/bin/env bash
# The map benchmark: one map of the 3,142 US counties at 1600 x 1000 drawn by the map view,
# against the same polygons drawn with plain QPainter::drawPolygon (bench/bench_map.cpp), and
# against the common Python route (geopandas + matplotlib, shared/bench/
# peer_geopandas_choropleth.py); a slide frame at that size. Prints the figures and the ratios.
#
# usage: bench/map-bench.sh [database directory] [build directory]
#
# The database (default: zor-us-counties in $TMPDIR or /tmp) is made with
# scripts/make-us-db.sh --counties-top when it has no 10000.map yet. The peer's packages come from
# Debian (python3-geopandas, python3-matplotlib) and are installed here when missing (as root).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
db="${1:-${TMPDIR:-/tmp}/zor-us-counties}"
build="${2:-$root/build}"

# shared/ beside the repository; from a git worktree elsewhere, beside the main repository.
shared="$root/../shared"
if [ ! -d "$shared/data/us" ]; then
    common="$(git -C "$root" rev-parse --path-format=absolute --git-common-dir 2> /dev/null || true)"
    [ -n "$common" ] && shared="$(dirname "$common")/../shared"
fi

if [ ! -f "$db/10000.map" ]; then
    bash "$root/scripts/make-us-db.sh" --counties-top "$db"
fi
ninja -C "$build" bench_map > /dev/null
out="$(mktemp -d "${TMPDIR:-/tmp}/zor-map-bench.XXXXXX")"
trap 'rm -rf "$out"' EXIT

"$build/bin/bench_map" DIR="$db/" --png "$out/map.png" 2> /dev/null | tee "$out/map.txt"
median() { sed -n "s/^$1.*median \([0-9.]*\) ms.*/\1/p" "$out/map.txt"; }
map=$(median 'map frame (CMapView')
limit=$(median 'limit')
withPng=$(median 'map frame + PNG')
slide=$(median 'slide frame')

if ! /usr/bin/python3 -c 'import geopandas, matplotlib' 2> /dev/null; then
    echo "installing the peer's packages (python3-geopandas, python3-matplotlib)"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq python3-geopandas python3-matplotlib \
        > /dev/null
fi
/usr/bin/python3 "$shared/bench/peer_geopandas_choropleth.py" "$shared/data/us" "$out/peer.png" \
    2> /dev/null | tee "$out/peer.txt"
peer=$(sed -n 's/.*median \([0-9.]*\) ms.*/\1/p' "$out/peer.txt")

awk -v map="$map" -v limit="$limit" -v png="$withPng" -v slide="$slide" -v peer="$peer" 'BEGIN {
    printf "map frame / QPainter limit:        %.2fx (target: within 1.2x)\n", map / limit
    printf "peer / map frame:                  %.0fx faster (target: at least 20x)\n", peer / map
    printf "peer / map frame with PNG file:    %.1fx faster\n", peer / png
    printf "peer / QPainter limit:             %.0fx\n", peer / limit
    printf "slide frame:                       %.2f ms (target: under 5 ms)\n", slide
}'
