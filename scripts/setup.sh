#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need. Idempotent: when
# everything is present it only checks and returns.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config python3
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-tidy clang-format
    qt6-base-dev qt6-svg-dev libgl-dev
    libgdal-dev nlohmann-json3-dev # zorimport: boundaries (GDAL/OGR, PROJ), the manifest
    gdal-bin # ogr2ogr, for the import benchmark (bench/import-bench.sh)
    fonts-liberation2 fonts-dejavu-core
    xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
