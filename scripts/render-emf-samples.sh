#!/usr/bin/env bash
# Writes the sample EMF files of the drawing layer and renders them with LibreOffice and
# Inkscape when they are installed, so that a developer can look at how other programs read
# our metafiles. Not part of the tests.
#
# Usage: scripts/render-emf-samples.sh [output directory]
#   default output: build/emf-samples; build tree: $ZOR_BUILD_DIR or build/.
# Writes <name>.emf and <name>-qt.png (our own Qt rendering), libreoffice/<name>.png and
# inkscape/<name>.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZOR_BUILD_DIR:-$root/build}"
out="${1:-$root/build/emf-samples}"

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja > /dev/null
fi
ninja -C "$build" zor_emf_samples > /dev/null
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$build/bin/zor_emf_samples" "$out"

rendered=0
if command -v soffice > /dev/null; then
    mkdir -p "$out/libreoffice"
    for f in "$out"/*.emf; do
        HOME="${HOME:-/tmp}" soffice --headless --convert-to png --outdir "$out/libreoffice" "$f" \
            > /dev/null 2>&1 || echo "LibreOffice failed on $f"
    done
    echo "LibreOffice renderings in $out/libreoffice"
    rendered=1
fi
if command -v inkscape > /dev/null; then
    mkdir -p "$out/inkscape"
    for f in "$out"/*.emf; do
        name="$(basename "$f" .emf)"
        inkscape "$f" --export-type=png --export-background=white \
            --export-filename="$out/inkscape/$name.png" > /dev/null 2>&1 ||
            echo "Inkscape failed on $f"
    done
    echo "Inkscape renderings in $out/inkscape"
    rendered=1
fi
if [ "$rendered" = 0 ]; then
    echo "Neither LibreOffice (soffice) nor Inkscape is installed; only the EMF files and our"
    echo "own PNG renderings were written to $out."
fi
