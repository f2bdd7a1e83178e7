#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for a given time or number of runs, then reports executions, coverage and findings.
#   scripts/fuzz.sh [-t SECONDS | -r RUNS] [TARGET...]
# Corpora grow in build-fuzz/corpus/<target>/ (seeded from valid files); a target's dictionary is
# fuzz/<target>.dict when there is one, else fuzz/zor.dict; crashing inputs are
# written to build-fuzz/findings/<target>/. Exit status 1 when any target found something.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds=20
runs=""
while getopts "t:r:" opt; do
    case $opt in
    t) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    *) echo "usage: $0 [-t SECONDS | -r RUNS] [TARGET...]" >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))

build="$root/build-fuzz"
mkdir -p "$build"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DZOR_FUZZ=ON -DZOR_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOR_BUILD_BENCH=OFF -DZOR_WERROR=ON \
    > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
# Build only the fuzz targets and the seed writer.
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi
ninja -C "$build" -j"$(nproc)" fuzz_seeds "${targets[@]}" > "$build/fuzz-build.log" 2>&1 ||
    { tail -40 "$build/fuzz-build.log"; exit 1; }

seeds="$build/seeds"
rm -rf "$seeds"
"$build/bin/fuzz_seeds" "$seeds"

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Scratch files of the targets that read whole directories, in memory when possible.
scratch="$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/zorfuzz-run-$$"
mkdir -p "$scratch"
export ZOR_FUZZ_TMP="$scratch"
status=0
printf '%-18s %12s %8s %8s %s\n' target executions cov features result
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    findings="$build/findings/$t"
    mkdir -p "$corpus" "$findings"
    [ -d "$seeds/$t" ] && cp -n "$seeds/$t"/* "$corpus/" 2>/dev/null || true
    limit=(-max_total_time="$seconds")
    [ -n "$runs" ] && limit=(-runs="$runs")
    log="$build/$t.log"
    set +e
    dict="$root/fuzz/$t.dict"
    [ -f "$dict" ] || dict="$root/fuzz/zor.dict"
    "$build/bin/$t" "$corpus" -dict="$dict" -rss_limit_mb=2048 -timeout=10 \
        -max_len=65536 -artifact_prefix="$findings/" -print_final_stats=1 "${limit[@]}" > "$log" 2>&1
    rc=$?
    set -e
    execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    cov=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -o 'cov: [0-9]*' | awk '{print $2}')
    ft=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -o 'ft: [0-9]*' | awk '{print $2}')
    result="ok"
    if [ $rc -ne 0 ]; then
        result="FINDING (see $log, inputs in $findings)"
        status=1
    fi
    printf '%-18s %12s %8s %8s %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
rm -rf "$scratch"
exit $status
