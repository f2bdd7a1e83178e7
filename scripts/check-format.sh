#!/usr/bin/env bash
# Checks that every C++ file of the repository (.h and .cpp, outside the build trees and hidden
# folders) is formatted as .clang-format says, with clang-format 14. Lists the files that are
# not and exits with status 1 when there is any.
#
#   scripts/check-format.sh [-i] [PATH...]
#
# -i formats the files in place instead. PATHs (files or folders) restrict the check to them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
fix=0
while getopts "i" opt; do
    case $opt in
    i) fix=1 ;;
    *) echo "usage: $0 [-i] [PATH...]" >&2; exit 64 ;;
    esac
done
shift $((OPTIND - 1))

format="$(command -v clang-format-14 || true)"
if [ -z "$format" ] && command -v clang-format > /dev/null &&
    clang-format --version | grep -q 'version 14\.'; then
    format="$(command -v clang-format)"
fi
if [ -z "$format" ]; then
    echo "check-format: clang-format 14 is not installed (scripts/setup.sh installs it)" >&2
    exit 2
fi

paths=("$@")
[ ${#paths[@]} -eq 0 ] && paths=("$root")
mapfile -t files < <(find "${paths[@]}" \
    \( -path "$root/build" -o -path "$root/build-*" -o -path "$root/.*" \) -prune -o \
    -type f \( -name '*.h' -o -name '*.cpp' \) -print | sort)

if [ "$fix" = 1 ]; then
    printf '%s\n' "${files[@]}" | xargs -r "$format" -i
    exit 0
fi

failing=()
for f in "${files[@]}"; do
    "$format" --dry-run --Werror "$f" > /dev/null 2>&1 || failing+=("${f#"$root"/}")
done
if [ ${#failing[@]} -gt 0 ]; then
    echo "check-format: ${#failing[@]} of ${#files[@]} files are not formatted" \
        "(scripts/check-format.sh -i FILE... formats them):"
    printf '  %s\n' "${failing[@]}"
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
