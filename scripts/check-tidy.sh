#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy, every finding an error) over the sources of the
# layers below the program: core, draw (with its Qt backend), charts, grids, maps, indicators,
# views (without the Qt hosts in their qt/ folders) and the console tools, with the compile
# database of a build tree. Exit status 1 when there is any finding.
#
#   scripts/check-tidy.sh [-b BUILD_DIR] [-j JOBS] [PATH...]
#
# BUILD_DIR defaults to build-asan (configured here when it has no compile database yet); JOBS to
# 2. PATHs (files or folders of the repository) restrict the run to the sources under them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-asan"
jobs=2
while getopts "b:j:" opt; do
    case $opt in
    b) build="$(realpath -m "$OPTARG")" ;;
    j) jobs=$OPTARG ;;
    *) echo "usage: $0 [-b BUILD_DIR] [-j JOBS] [PATH...]" >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))

tidy="$(command -v clang-tidy-14 || command -v clang-tidy || true)"
if [ -z "$tidy" ]; then
    echo "check-tidy: clang-tidy is not installed (scripts/setup.sh installs it)" >&2
    exit 2
fi
if [ ! -f "$build/compile_commands.json" ]; then
    mkdir -p "$build"
    cmake -S "$root" -B "$build" -G Ninja -DZOR_SANITIZE=ON -DZOR_WERROR=ON \
        -DCMAKE_BUILD_TYPE=Debug > "$build/configure.log" 2>&1 ||
        { cat "$build/configure.log"; exit 1; }
fi

# The layers checked; a layer's folder may not exist yet.
layers="core|draw|charts|grids|maps|indicators|views|tools"
# Restrict to the given paths, as absolute prefixes.
prefixes=()
for p in "$@"; do
    prefixes+=("$(realpath -m "$p")")
done

mapfile -t files < <(python3 - "$build/compile_commands.json" "$root" "$layers" "${prefixes[@]}" <<'EOF'
import json, os, re, sys
db, root, layers, prefixes = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
source = re.compile(re.escape(root) + r"/(" + layers + r")/.*\.cpp$")
qt_host = re.compile(re.escape(root) + r"/(charts|grids|maps|indicators)/qt/")
seen = set()
for entry in json.load(open(db)):
    f = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if f in seen or not source.match(f) or qt_host.match(f):
        continue
    if prefixes and not any(f == p or f.startswith(p.rstrip("/") + "/") for p in prefixes):
        continue
    seen.add(f)
    print(f)
EOF
)
if [ ${#files[@]} -eq 0 ]; then
    echo "check-tidy: no sources to check" >&2
    exit 0
fi

# Findings in the project's headers too, but not in the build tree or system headers. GCC-only
# warning options of the compile database are not clang's business.
filter="^$root/($layers)/"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
start=$(date +%s)
status=0
printf '%s\n' "${files[@]}" |
    xargs -P "$jobs" -n 1 "$tidy" -p "$build" --quiet --header-filter="$filter" \
        --extra-arg=-Wno-unknown-warning-option > "$out" 2>&1 || status=1
elapsed=$(( $(date +%s) - start ))

# Headers seen by many sources repeat their findings: print each finding once.
{ grep -v -E '^[0-9]+ (warnings?|errors?)( and [0-9]+ errors?)? generated\.$|^Error while processing ' \
    "$out" || true; } | awk '
    /^\/.*:[0-9]+:[0-9]+: (warning|error):/ { keep = !($0 in seen); seen[$0] = 1; if (keep) n++ }
    keep { print }
    END { printf "check-tidy: %d finding(s)\n", n > "/dev/stderr" }'
echo "check-tidy: ${#files[@]} sources in ${elapsed} s" >&2
exit $status
