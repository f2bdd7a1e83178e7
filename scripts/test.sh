#!/usr/bin/env bash
# Installs what is needed, builds the sanitizer configuration and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh "$root/build-asan" -DZOR_SANITIZE=ON -DZOR_WERROR=ON -DCMAKE_BUILD_TYPE=Debug
# A short fuzzing smoke run of every file reader when clang is there (the long run:
# scripts/fuzz.sh -t 1800).
if command -v clang++ > /dev/null; then
    bash scripts/fuzz.sh -t "${ZOR_FUZZ_SECONDS:-20}"
fi
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
# A test that hangs (a modal box in a widget test) fails after five minutes instead of stalling CI.
ctest --test-dir "$root/build-asan" --output-on-failure --timeout 300 -j"$(nproc)"
