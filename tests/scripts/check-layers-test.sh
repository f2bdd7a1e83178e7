#!/usr/bin/env bash
# Runs scripts/check-layers.sh on small made-up trees: one that follows the layering (including
# folders the repository does not have yet) must pass; in one that breaks it, every offending
# include must be reported, and nothing else.
set -euo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/zor-layers.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# put FILE LINE...: writes a source file of the made-up tree.
put() {
    local file="$1"
    shift
    mkdir -p "$(dirname "$tree/$file")"
    printf '%s\n' "$@" > "$tree/$file"
}

# --- a tree that follows the layering
tree="$tmp/good"
for f in core/A.h draw/B.h draw/qt/C.h charts/D.h charts/qt/E.h grids/F.h grids/qt/G.h \
    maps/H.h maps/qt/I.h indicators/J.h indicators/qt/K.h shell/L.h tools/x/M.h; do
    put "$f" "#pragma once"
done
put core/A.cpp '#include "core/A.h"' '#include <vector>'
put draw/B.cpp '#include "draw/B.h"' '#include "core/A.h"'
put draw/qt/C.cpp '#include "draw/qt/C.h"' '#include "draw/B.h"' '#include <QPainter>'
put charts/D.cpp '#include "D.h"' '#include "draw/B.h"' '#include "core/A.h"'
put charts/qt/E.cpp '#include "charts/D.h"' '#include "draw/qt/C.h"' '#include <QWidget>' \
    '#include "ui_E.h"'
put grids/F.cpp '#include "charts/D.h"'
put grids/qt/G.cpp '#include "charts/qt/E.h"' '#include "grids/F.h"'
put maps/H.cpp '#include "grids/F.h"' '#include "charts/D.h"'
put maps/qt/I.cpp '#include "grids/qt/G.h"' '#include "maps/H.h"' '#include <QtGui/QImage>'
put indicators/J.cpp '#include "grids/F.h"'
put indicators/qt/K.cpp '#include "grids/qt/G.h"' '#include "indicators/J.h"'
put shell/L.cpp '#include "maps/qt/I.h"' '#include "indicators/qt/K.h"' '#include <QMainWindow>'
put tools/x/M.cpp '#include "draw/qt/C.h"' '#include "maps/H.h"' '#include <QGuiApplication>'
if ! out="$(bash "$script" "$tree" 2>&1)"; then
    fail "a tree that follows the layering was refused:"
    echo "$out"
fi

# --- a tree that breaks it, once per rule
tree="$tmp/bad"
cp -r "$tmp/good" "$tree"
put core/Up.cpp '#include "core/A.h"' '#include "draw/B.h"'
put draw/Up.cpp '#include "draw/qt/C.h"'
put charts/Up.cpp '#include "draw/qt/C.h"' '#include "charts/qt/E.h"' '#include "grids/F.h"'
put charts/Rel.cpp '#include "../shell/L.h"'
put charts/Qt.cpp '#include <QtCore/QPoint>'
put core/Qt.h '#pragma once' '  #  include <QString>'
put grids/Up.cpp '#include "maps/H.h"'
put maps/Side.cpp '#include "indicators/J.h"'
put indicators/Side.cpp '#include "maps/H.h"'
put charts/qt/Up.cpp '#include "grids/F.h"'
put grids/qt/Up.cpp '#include "maps/qt/I.h"'
put maps/qt/Side.cpp '#include "indicators/qt/K.h"'
put tools/x/Up.cpp '#include "core/A.h"' '#include "shell/L.h"'
expected="charts/Qt.cpp:1
charts/Rel.cpp:1
charts/Up.cpp:1
charts/Up.cpp:2
charts/Up.cpp:3
charts/qt/Up.cpp:1
core/Qt.h:2
core/Up.cpp:2
draw/Up.cpp:1
grids/Up.cpp:1
grids/qt/Up.cpp:1
indicators/Side.cpp:1
maps/Side.cpp:1
maps/qt/Side.cpp:1
tools/x/Up.cpp:2"
set +e
out="$(bash "$script" "$tree" 2> /dev/null)"
status=$?
set -e
[ $status -eq 1 ] || fail "a tree that breaks the layering gave status $status, not 1"
got="$(echo "$out" | cut -d: -f1,2 | sort)"
if [ "$got" != "$expected" ]; then
    fail "reported includes differ"
    diff <(echo "$expected") <(echo "$got") || true
fi
echo "$out" | grep -q '^core/Qt.h:2: Qt header <QString>' || fail "no Qt message for core/Qt.h"

if [ $failures -gt 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "check-layers: all cases passed"
