#!/usr/bin/env bash
# Import benchmark: the 3,142 US counties (55k vertices) from GeoJSON and from a GeoPackage made
# from it with ogr2ogr, imported by this zorimport and by the importer of an older revision (which
# reads GeoJSON only) in one run; prints the time (median of 3) and peak memory of each and the
# ratios. Three sources: the counties' map with one value per county ("map"); the same with the
# boundaries densified by ogr2ogr -segmentize to 6.8 million vertices ("dense": a 186 MB GeoJSON
# file, a 112 MB GeoPackage), which the simplification brings back to what the drawing shows;
# and the whole counties-top database of scripts/make-us-db.sh --counties-top ("database": 60
# indicators, 40 years, a 175 MB CSV).
#
# usage: bench/import-bench.sh [--old-rev REV] [--runs N] [US data directory] [build directory]
#
#   --old-rev  the revision whose importer is compared (default 675ab45, the last before GDAL);
#              it is built once in <build directory>-old-<rev>.
# The US data directory defaults to <repository>/../shared/data/us (beside the main repository
# for a git worktree elsewhere), the build directory (RelWithDebInfo) to <repository>/build. Needs python3 and ogr2ogr (Debian gdal-bin). Not part of the build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
old_rev=675ab45
runs=3
while [ $# -gt 0 ]; do
    case "$1" in
    --old-rev) old_rev="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --*) echo "usage: $0 [--old-rev REV] [--runs N] [US data directory] [build directory]" >&2; exit 64 ;;
    *) break ;;
    esac
done
# shared/data beside the repository; from a git worktree elsewhere, beside the main one.
data="${1:-$root/../shared/data/us}"
if [ -z "${1:-}" ] && [ ! -d "$data" ]; then
    common="$(git -C "$root" rev-parse --path-format=absolute --git-common-dir 2> /dev/null || true)"
    [ -n "$common" ] && data="$(dirname "$common")/../shared/data/us"
fi
build="${2:-$root/build}"
old_build="$build-old-$old_rev"
command -v ogr2ogr > /dev/null || { echo "$0: needs ogr2ogr (Debian gdal-bin)" >&2; exit 69; }

# This importer, and the old one built from its revision.
if [ ! -x "$build/bin/zorimport" ] || [ ! -x "$build/bin/inddefc" ]; then
    [ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
    ninja -C "$build" zorimport inddefc > /dev/null
fi
if [ ! -x "$old_build/bin/zorimport" ]; then
    echo "building the importer of $old_rev in $old_build"
    mkdir -p "$old_build/src"
    git -C "$root" archive "$old_rev" | tar -x -C "$old_build/src"
    cmake -S "$old_build/src" -B "$old_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZOR_BUILD_TESTS=OFF > "$old_build/configure.log"
    ninja -C "$old_build" zorimport inddefc > "$old_build/build.log"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/zor-import-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# The sources: the whole database, and the map with one value per county; each also with its
# map as a GeoPackage (the coordinates are planar, so the manifest says so: GDAL would give the
# GeoPackage the WGS 84 it assumes for GeoJSON).
python3 "$root/scripts/us-source.py" --counties-top "$data" "$work/database"
python3 - "$work" <<'EOF'
import json, os, shutil, sys
work = sys.argv[1]
db = os.path.join(work, "database")
m = json.load(open(os.path.join(db, "manifest.json"), encoding="utf-8"))
# The map source: one indicator, one year.
small = os.path.join(work, "map")
os.makedirs(os.path.join(small, "values"))
shutil.copytree(os.path.join(db, "maps"), os.path.join(small, "maps"))
with open(os.path.join(db, "values", "10000.csv"), encoding="utf-8") as f, \
        open(os.path.join(small, "values", "10000.csv"), "w", encoding="utf-8") as out:
    out.write(f.readline())
    for line in f:
        if line.split(",")[1:3] == ["0", "2009"]:
            out.write(line)
sm = dict(m, groups=[{"id": 0, "name": "Population", "indicators": [{"code": 0, "name": "Population"}]}],
          periods=[2009])
json.dump(sm, open(os.path.join(small, "manifest.json"), "w", encoding="utf-8"), ensure_ascii=False)
# The dense source: the map source with other boundaries (made below).
dense = os.path.join(work, "dense")
os.makedirs(os.path.join(dense, "maps"))
os.symlink(os.path.join(small, "values"), os.path.join(dense, "values"))
shutil.copy(os.path.join(small, "manifest.json"), dense)
# The same sources with the map as a GeoPackage.
for name in ("map", "dense", "database"):
    src = os.path.join(work, name)
    dst = src + "-gpkg"
    os.makedirs(dst)
    for entry in os.listdir(src):
        if entry != "maps" and entry != "manifest.json":
            os.symlink(os.path.join(src, entry), os.path.join(dst, entry))
    os.makedirs(os.path.join(dst, "maps"))
    man = json.load(open(os.path.join(src, "manifest.json"), encoding="utf-8"))
    man["regionSets"][0]["map"] = {"file": "maps/counties.gpkg", "coordinates": "planar"}
    json.dump(man, open(os.path.join(dst, "manifest.json"), "w", encoding="utf-8"), ensure_ascii=False)
EOF
ogr2ogr -f GPKG -segmentize 0.02 "$work/dense-gpkg/maps/counties.gpkg" \
    "$work/map/maps/counties.geojson"
ogr2ogr -f GeoJSON -lco RFC7946=NO -lco ID_FIELD=id -lco COORDINATE_PRECISION=6 \
    "$work/dense/maps/counties.geojson" "$work/dense-gpkg/maps/counties.gpkg"
for name in map database; do
    ogr2ogr -f GPKG "$work/$name-gpkg/maps/counties.gpkg" "$work/$name/maps/counties.geojson"
done
for name in map dense; do
    echo "$name: $(du -b "$work/$name/maps/counties.geojson" | cut -f1) bytes of GeoJSON," \
        "$(du -b "$work/$name-gpkg/maps/counties.gpkg" | cut -f1) bytes of GeoPackage;" \
        "$("$build/bin/zorimport" "$work/$name-gpkg" "$work/out" --inddefc="$build/bin/inddefc" \
            2> /dev/null | grep -o 'map vertices [0-9]* read, [0-9]* written')"
done

# Runs a command `runs` times; prints the median wall time in seconds and the peak resident
# memory in MB (of the importer or the definitions compiler it runs, whichever is larger).
measure() {
    python3 - "$runs" "$@" <<'EOF'
import resource, subprocess, sys, time
runs, cmd = int(sys.argv[1]), sys.argv[2:]
times = []
for _ in range(runs):
    start = time.monotonic()
    r = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    times.append(time.monotonic() - start)
    if r.returncode != 0:
        sys.exit("failed: " + " ".join(cmd))
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print("%.3f %.1f" % (sorted(times)[len(times) // 2], peak))
EOF
}

printf '%-9s %-26s %9s %9s\n' source importer "time (s)" "peak (MB)"
for name in map dense database; do
    read -r t_old m_old < <(measure "$old_build/bin/zorimport" "$work/$name" "$work/out" --quiet \
        --inddefc="$old_build/bin/inddefc")
    read -r t_json m_json < <(measure "$build/bin/zorimport" "$work/$name" "$work/out" --quiet \
        --inddefc="$build/bin/inddefc")
    read -r t_gpkg m_gpkg < <(measure "$build/bin/zorimport" "$work/$name-gpkg" "$work/out" \
        --quiet --inddefc="$build/bin/inddefc")
    printf '%-9s %-26s %9s %9s\n' "$name" "old ($old_rev), GeoJSON" "$t_old" "$m_old"
    printf '%-9s %-26s %9s %9s\n' "$name" "GDAL, GeoJSON" "$t_json" "$m_json"
    printf '%-9s %-26s %9s %9s\n' "$name" "GDAL, GeoPackage" "$t_gpkg" "$m_gpkg"
    awk -v a="$t_json" -v b="$t_old" -v c="$m_json" -v d="$m_old" -v e="$t_gpkg" -v f="$m_gpkg" \
        -v n="$name" 'BEGIN { printf "%-9s GDAL/old on GeoJSON: time %.2f, memory %.2f; GeoPackage/GeoJSON: time %.2f, memory %.2f\n", n, a / b, c / d, e / a, f / c }'
    if [ -f "$work/out/10000.map" ]; then
        old_map=$("$old_build/bin/zorimport" "$work/$name" "$work/out" --quiet \
            --inddefc="$old_build/bin/inddefc" 2> /dev/null && du -b "$work/out/10000.map" | cut -f1)
        new_map=$("$build/bin/zorimport" "$work/$name" "$work/out" --quiet \
            --inddefc="$build/bin/inddefc" 2> /dev/null && du -b "$work/out/10000.map" | cut -f1)
        echo "$name: map file $old_map bytes (old), $new_map bytes (GDAL)"
    fi
done
