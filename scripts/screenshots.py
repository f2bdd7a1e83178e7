#!/usr/bin/env python3
"""Makes the pictures of the user manual and of the README from the demo database.

usage: screenshots.py [build directory]    (default: build/ of the repository)

Needs the build's zorexport and demo database (scripts/run.sh, or `ninja -C build zorexport
demo_db`). For every view of the view table (`zorexport views`) it renders the view with
`zorexport render NAME --format png` on one selection of the demo database and writes
docs/manual/pictures/NAME.png; it then rewrites the list of views in docs/manual/index.html and
the pictures at the top of README.md (between their "screenshots" markers): a map, a chart and a
table where the program has them, else other views. Views added to the table later get their pictures when the
script is run again.
"""

import html
import json
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PICTURES = os.path.join(ROOT, "docs", "manual", "pictures")
MANUAL = os.path.join(ROOT, "docs", "manual", "index.html")
README = os.path.join(ROOT, "README.md")
VIEW_TEXTS = os.path.join(ROOT, "docs", "manual-views.txt")

SIZE = "640x480"  # the picture of a view window, pixels
TOP = 10000  # the top level of the demo database: the 22 UN sub-regions and the world


def key(set_id, region):
    return set_id * 65536 + region


# One selection for every view: life expectancy, GDP per person and fertility; six sub-regions
# of the five continents; three years.
SELECTION = {
    "indicators": "1000,2010,10",
    "regions": ",".join(str(key(TOP, r)) for r in (1, 3, 9, 11, 13, 18)),
    "periods": "1970,1990,2010",
}
# The README's second chart when the program has no map or table yet: the countries of Western
# Europe (set 10000 + 100 * 18).
WESTERN_EUROPE = 10000 + 100 * 18


def run(args):
    result = subprocess.run(args, capture_output=True, text=True)
    if result.returncode != 0:
        sys.stderr.write(result.stderr)
    return result


def render(zorexport, demo, view, out, extra=()):
    args = [zorexport, "render", view["name"], "DIR=" + demo, "--set", str(TOP)]
    for need in view["needs"]:
        if need in SELECTION:
            args += ["--" + need, SELECTION[need]]
    # Drawn beside the picture it replaces: an animated view writes a directory of frames,
    # which cannot take the place of the picture file the run before left.
    made = out + ".new"
    if os.path.isdir(made):
        shutil.rmtree(made)
    args += list(extra) + ["--size", SIZE, "--format", "png", "--out", made]
    if run(args).returncode != 0:
        return False
    if os.path.isdir(made):
        # The manual shows an animated view's last frame.
        frames = sorted(os.listdir(made))
        if not frames:
            return False
        os.replace(os.path.join(made, frames[-1]), out + ".frame")
        shutil.rmtree(made)
        made = out + ".frame"
    os.replace(made, out)
    return True


def read_view_texts():
    """The texts of docs/manual-views.txt by view name ("[name]" starts one, "#" a comment)."""
    texts, name = {}, None
    with open(VIEW_TEXTS, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            stripped = line.strip()
            if stripped.startswith("[") and stripped.endswith("]"):
                name = stripped[1:-1]
                texts[name] = ""
            elif name is not None and stripped:
                texts[name] += line
    return texts


def replace_between(path, begin, end, text):
    with open(path, encoding="utf-8") as f:
        content = f.read()
    a, b = content.find(begin), content.find(end)
    if a < 0 or b < a:
        sys.exit("screenshots: %s has no %s ... %s markers" % (path, begin, end))
    content = content[: a + len(begin)] + "\n" + text + content[b:]
    with open(path, "w", encoding="utf-8") as f:
        f.write(content)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    zorexport = os.path.join(build, "bin", "zorexport")
    demo = os.path.join(build, "demo") + "/"
    if not os.access(zorexport, os.X_OK) or not os.path.exists(demo + "zorgui.cfg"):
        sys.exit("screenshots: build zorexport and the demo database first "
                 "(ninja -C %s zorexport demo_db)" % build)
    views = json.loads(run([zorexport, "views"]).stdout)["views"]
    os.makedirs(PICTURES, exist_ok=True)

    made = []
    for view in views:
        name = view["name"]
        if render(zorexport, demo, view, os.path.join(PICTURES, name + ".png")):
            made.append(view)
            print("screenshots: %s.png" % name)
        else:
            print("screenshots: %s could not be rendered" % name, file=sys.stderr)

    # The manual's list of views: each view's title, its text from docs/manual-views.txt and
    # its picture.
    texts = read_view_texts()
    sections = []
    for view in made:
        title = html.escape(view["title"])
        sections.append(
            '<h3 id="view-%s">%s</h3>\n%s<figure><img src="pictures/%s.png" width="640" '
            'height="480" alt="%s on the demo database"><figcaption>%s on the demo database '
            "(<code>zorexport render %s</code>)</figcaption></figure>"
            % (view["name"], title, texts.get(view["name"], ""), view["name"], title, title,
               view["name"]))
        if view["name"] not in texts:
            print("screenshots: docs/manual-views.txt has no text for %s" % view["name"],
                  file=sys.stderr)
    replace_between(MANUAL, "<!-- views:begin -->", "<!-- views:end -->", "\n".join(sections) + "\n")

    # The README: a map, a chart and a table where there are such views.
    def first(test):
        return next((v for v in made if test(v["name"])), None)

    chosen = [v for v in (first(lambda n: "map" in n), first(lambda n: n == "barchart")
                          or first(lambda n: "chart" in n), first(lambda n: "table" in n)) if v]
    # Up to three: other views where there is no map or table yet.
    chosen += [v for v in made if v not in chosen][: max(0, 3 - len(chosen))]
    shots = [("docs/manual/pictures/%s.png" % v["name"], v["title"]) for v in chosen]
    if len(shots) < 2 and first(lambda n: n == "barchart"):
        # One more chart: the countries of a sub-region.
        out = os.path.join(PICTURES, "readme-countries.png")
        view = first(lambda n: n == "barchart")
        args = [zorexport, "render", "barchart", "DIR=" + demo, "--set", str(WESTERN_EUROPE),
                "--indicators", "2010,1000", "--regions",
                ",".join(str(key(WESTERN_EUROPE, r)) for r in range(1, 8)),
                "--periods", "1980,1995,2010", "--size", SIZE, "--format", "png", "--out", out]
        if run(args).returncode == 0:
            shots.append(("docs/manual/pictures/readme-countries.png",
                          view["title"] + " of the countries of Western Europe"))
    lines = ['<img src="%s" width="400" alt="%s on the demo database">' % (p, html.escape(t))
             for p, t in shots]
    replace_between(README, "<!-- screenshots:begin -->", "<!-- screenshots:end -->",
                    "\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
