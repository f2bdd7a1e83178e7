#!/usr/bin/env bash
# Checks that every layer includes only from itself and the layers below it, and that no Qt
# header is included outside the Qt folders. Lists each offending include as
# file:line: message and exits with status 1 when there is any.
#
#   scripts/check-layers.sh [ROOT]     (ROOT: the repository, by default this one)
#
# Layers, low to high (a folder that does not exist yet is simply empty):
#   core < draw < draw/qt
#   core < draw < charts < grids < maps, indicators (maps and indicators do not include each
#   other) < views (the table of every view); their Qt hosts charts/qt, grids/qt, maps/qt, indicators/qt each include their own
#   layer and lower, draw/qt and the qt/ folders of the lower view layers.
#   shell includes anything; tools include anything but shell.
# Qt headers (<Q...>) only in draw/qt, the qt/ folders, shell and tools.
set -euo pipefail
root="$(cd "${1:-$(dirname "$0")/..}" && pwd)"

python3 - "$root" <<'EOF'
import os, re, sys

root = os.path.realpath(sys.argv[1])

# What each layer may include besides itself.
VIEW_BELOW = {"charts": [], "grids": ["charts"], "maps": ["charts", "grids"],
              "indicators": ["charts", "grids"],
              "views": ["charts", "grids", "maps", "indicators"]}
ALLOWED = {
    "core": set(),
    "draw": {"core"},
    "draw/qt": {"core", "draw"},
}
for view, below in VIEW_BELOW.items():
    ALLOWED[view] = {"core", "draw"} | set(below)
    ALLOWED[view + "/qt"] = {"core", "draw", "draw/qt", view} | set(below) | \
        {b + "/qt" for b in below}
LAYERS = list(ALLOWED) + ["shell", "tools"]
QT_FREE = {"core", "draw", *VIEW_BELOW}
# Checked folders, longest first so that "charts/qt" is found before "charts".
ORDERED = sorted(LAYERS, key=len, reverse=True)

def layer_of(rel):
    for layer in ORDERED:
        if rel == layer or rel.startswith(layer + "/"):
            return layer
    return None

def may_include(src, dst):
    if dst is None or src == dst or src == "shell":
        return True
    if src == "tools":
        return dst != "shell"
    return dst in ALLOWED[src]

include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
findings = []
for top in sorted({l.split("/")[0] for l in LAYERS}):
    base = os.path.join(root, top)
    for dirpath, dirnames, filenames in os.walk(base):
        dirnames.sort()
        for name in sorted(filenames):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(dirpath, name)
            rel = os.path.relpath(path, root)
            src = layer_of(rel)
            with open(path, encoding="utf-8", errors="replace") as f:
                lines = f.read().split("\n")
            for number, line in enumerate(lines, 1):
                m = include.match(line)
                if not m:
                    continue
                kind, target = m.groups()
                where = f"{rel}:{number}"
                if kind == "<" and re.match(r"Q[A-Za-z]", target) and src in QT_FREE:
                    findings.append(f"{where}: Qt header <{target}> in {src}/, which has no Qt")
                    continue
                # A quoted include is found next to the file, else from the root; an angled
                # one only from the root (anything else is a system or generated header).
                candidates = [os.path.join(root, target)]
                if kind == '"':
                    candidates.insert(0, os.path.join(dirpath, target))
                found = next((c for c in candidates if os.path.isfile(c)), None)
                if found is None:
                    continue
                dst = layer_of(os.path.relpath(os.path.realpath(found), root))
                if not may_include(src, dst):
                    findings.append(f"{where}: {src}/ includes \"{target}\" of {dst}/, "
                                    f"a layer above it or beside it")

for f in findings:
    print(f)
if findings:
    print(f"check-layers: {len(findings)} include(s) against the layering", file=sys.stderr)
    sys.exit(1)
print("check-layers: every include follows the layering", file=sys.stderr)
EOF
