#!/usr/bin/env python3
"""Turns the world demo data (data/world: gapminder.csv, country-codes.csv and the two GeoJSON
files) into a zorimport source folder: manifest.json, values.csv, one GeoJSON map per region
set, the definition texts and a start-up picture front.bmp.

usage: world-source.py <data/world directory> <source folder to write>

The top level (set 10000) holds the 22 UN sub-regions and the world as its total; the set
10000 + 100 r holds the countries of sub-region r and the sub-region itself as its total.
Totals follow the coverage rule of docs/demo-data.md.
"""

import csv
import json
import math
import os
import shutil
import struct
import sys

FIRST_YEAR, LAST_YEAR = 1960, 2016
YEARS = list(range(FIRST_YEAR, LAST_YEAR + 1))
COVERAGE = 0.8  # share of the population the reporting countries must hold

CONTINENTS = ["Africa", "Americas", "Asia", "Europe", "Oceania"]
REGION_CODES = {
    "Eastern Africa": "EAF", "Middle Africa": "MAF", "Northern Africa": "NAF",
    "Southern Africa": "SAF", "Western Africa": "WAF", "Caribbean": "CAR",
    "Central America": "CAM", "Northern America": "NAM", "South America": "SAM",
    "Central Asia": "CAS", "Eastern Asia": "EAS", "South-Eastern Asia": "SEA",
    "Southern Asia": "SAS", "Western Asia": "WAS", "Eastern Europe": "EEU",
    "Northern Europe": "NEU", "Southern Europe": "SEU", "Western Europe": "WEU",
    "Australia and New Zealand": "ANZ", "Melanesia": "MEL", "Micronesia": "MIC",
    "Polynesia": "POL",
}

# Indicator codes: group * 1000 + slot * 10 (+ variant).
POP, POP_GROWTH, FERT, LIFE, INFANT, GDP, GDP_GROWTH, GDP_PC = 0, 1, 10, 1000, 1010, 2000, 2001, 2010
GROUPS = [
    (0, "Population", [(POP, "Population (persons)", [(POP_GROWTH, "Population growth (% per year)")]),
                       (FERT, "Fertility (children per woman)", [])]),
    (1, "Health", [(LIFE, "Life expectancy at birth (years)", []),
                   (INFANT, "Infant mortality (deaths per 1,000 live births)", [])]),
    (2, "Economy", [(GDP, "GDP (million constant 2000 US$)", [(GDP_GROWTH, "GDP growth (% per year)")]),
                    (GDP_PC, "GDP per person (constant 2000 US$)", [])]),
]


def number(text):
    return float(text) if text != "" else None


def read_countries(data):
    codes = {}
    with open(os.path.join(data, "country-codes.csv"), newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            codes[row["country"]] = row
    series = {}  # country -> indicator -> year -> value
    with open(os.path.join(data, "gapminder.csv"), newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            c, y = row["country"], int(row["year"])
            s = series.setdefault(c, {k: {} for k in (POP, FERT, LIFE, INFANT, GDP)})
            for code, col, scale in ((POP, "population", 1), (FERT, "fertility", 1),
                                     (LIFE, "life_expectancy", 1), (INFANT, "infant_mortality", 1),
                                     (GDP, "gdp", 1e-6)):
                v = number(row[col])
                if v is not None:
                    s[code][y] = v * scale
    for c, s in series.items():
        if c not in codes:
            sys.exit("world-source: %s has no country code" % c)
        s[GDP_PC] = {y: s[GDP][y] * 1e6 / s[POP][y] for y in s[GDP] if s[POP].get(y)}
    return codes, series


def weights(series):
    """Population weight of every country and year: the year's figure, else the latest earlier."""
    out = {}
    for c, s in series.items():
        w, last = {}, None
        for y in YEARS:
            last = s[POP].get(y, last)
            if last is not None:
                w[y] = last
        out[c] = w
    return out


def growth(values, y):
    a, b = values.get(y), values.get(y - 1)
    if a is None or not b:
        return None
    return 100.0 * (a / b - 1)


def aggregate(members, series, w):
    """Totals of a group of countries, indicator -> year -> value, by the coverage rule."""
    out = {k: {} for k in (POP, POP_GROWTH, FERT, LIFE, INFANT, GDP, GDP_GROWTH, GDP_PC)}
    for y in YEARS:
        base = sum(w[c].get(y, 0) for c in members)
        if base <= 0:
            continue

        def covered(cs):
            return sum(w[c].get(y, 0) for c in cs) >= COVERAGE * base

        for code in (POP, GDP):  # counts: sums
            have = [c for c in members if y in series[c][code]]
            if have and covered(have):
                out[code][y] = sum(series[c][code][y] for c in have)
        for code in (FERT, LIFE, INFANT, GDP_PC):  # rates: population-weighted means
            have = [c for c in members if y in series[c][code] and w[c].get(y)]
            if have and covered(have):
                out[code][y] = (sum(series[c][code][y] * w[c][y] for c in have) /
                                sum(w[c][y] for c in have))
        for code, var in ((POP, POP_GROWTH), (GDP, GDP_GROWTH)):  # growth of the sums
            both = [c for c in members if y in series[c][code] and (y - 1) in series[c][code]]
            if both and covered(both):
                now = sum(series[c][code][y] for c in both)
                before = sum(series[c][code][y - 1] for c in both)
                if before:
                    out[var][y] = 100.0 * (now / before - 1)
    return out


def country_values(s):
    out = {k: dict(s[k]) for k in (POP, FERT, LIFE, INFANT, GDP, GDP_PC)}
    for code, var in ((POP, POP_GROWTH), (GDP, GDP_GROWTH)):
        out[var] = {y: g for y in YEARS if (g := growth(s[code], y)) is not None}
    return out


# ------------------------------------------------------------------ projection

# The boundary files are in the Equal Earth projection, fitted into a 1000 x 500 plane. A region
# that lies across the 180th meridian (Fiji, the Pacific island states, New Zealand's outlying
# islands, the Aleutians, Chukotka) is cut apart there, so the sub-region maps are given to the
# importer as longitude/latitude, centred on their own region.
EE_A1, EE_A2, EE_A3, EE_A4 = 1.340264, -0.081106, 0.000893, 0.003796
EE_M = math.sqrt(3) / 2


def ee_y(t):
    return t * (EE_A1 + EE_A2 * t * t + t ** 6 * (EE_A3 + EE_A4 * t * t))


def ee_dy(t):
    return EE_A1 + 3 * EE_A2 * t * t + t ** 6 * (7 * EE_A3 + 9 * EE_A4 * t * t)


def ee_theta(y):
    t = y / EE_A1
    for _ in range(30):
        t -= (ee_y(t) - y) / ee_dy(t)
    return t


class Plane:
    """The scale and origin of the plane, found from the data: the south pole line of
    Antarctica is the largest y, and the points cut at the 180th meridian lie at x = 0 and 1000."""

    def __init__(self, features):
        pts = [q for f in features for ring in rings_of(f["geometry"]) for q in ring]
        y_south = max(q[1] for q in pts)
        cut = [q[1] for q in pts if q[0] in (0, 1000)]
        if not cut:
            sys.exit("world-source: no boundary point on the 180th meridian")
        self.x0 = 500.0
        t_pole = math.asin(EE_M)
        lo, hi = 100.0, 400.0
        for _ in range(60):  # the scale at which the cut points lie at longitude 180
            s = (lo + hi) / 2
            y0 = y_south - s * ee_y(t_pole)
            err = sum(s * math.pi * math.cos(t) / (EE_M * ee_dy(t)) - self.x0
                      for t in (ee_theta((y0 - y) / s) for y in cut))
            lo, hi = (s, hi) if err < 0 else (lo, s)
        self.s, self.y0 = s, y0

    def lonlat(self, q):
        t = ee_theta((self.y0 - q[1]) / self.s)
        lam = (q[0] - self.x0) / self.s * EE_M * ee_dy(t) / math.cos(t)
        lat = math.asin(max(-1.0, min(1.0, math.sin(t) / EE_M)))
        return [round(max(-180.0, min(180.0, math.degrees(lam))), 5), round(math.degrees(lat), 5)]


def unproject(feature, plane):
    g = feature["geometry"]
    conv = [[[plane.lonlat(q) for q in ring] for ring in poly]
            for poly in ([g["coordinates"]] if g["type"] == "Polygon" else g["coordinates"])]
    return {"type": "Feature", "id": feature["id"], "properties": feature.get("properties", {}),
            "geometry": {"type": "MultiPolygon", "coordinates": conv}}


def central_meridian(features):
    """The middle of the shortest arc of longitudes that holds every point of the features."""
    lons = sorted({q[0] for f in features for ring in rings_of(f["geometry"]) for q in ring})
    gaps = [(lons[i + 1] - lons[i], i) for i in range(len(lons) - 1)]
    gaps.append((lons[0] + 360 - lons[-1], len(lons) - 1))
    width, i = max(gaps)
    start = lons[(i + 1) % len(lons)]
    centre = start + (360 - width) / 2
    return round((centre + 180) % 360 - 180, 3)


# ------------------------------------------------------------------ picture

FONT = {  # 5 x 7 glyphs
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    "g": ["00000", "01111", "10001", "10001", "01111", "00001", "01110"],
    "i": ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
    "o": ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    "r": ["00000", "00000", "10110", "11001", "10000", "10000", "10000"],
    "u": ["00000", "00000", "10001", "10001", "10001", "10011", "01101"],
    "z": ["00000", "00000", "11111", "00010", "00100", "01000", "11111"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    ",": ["00000", "00000", "00000", "00000", "01100", "00100", "01000"],
    ":": ["00000", "01100", "01100", "00000", "01100", "01100", "00000"],
    " ": ["00000"] * 7,
}


class Image:
    def __init__(self, width, height, color):
        self.w, self.h = width, height
        self.rows = [bytearray(bytes(color[::-1]) * width) for _ in range(height)]  # BGR

    def put(self, x, y, color):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.rows[y][3 * x:3 * x + 3] = bytes(color[::-1])

    def text(self, x, y, s, scale, color):
        for ch in s:
            glyph = FONT.get(ch, FONT[" "])
            for gy, line in enumerate(glyph):
                for gx, bit in enumerate(line):
                    if bit == "1":
                        for dy in range(scale):
                            for dx in range(scale):
                                self.put(x + gx * scale + dx, y + gy * scale + dy, color)
            x += 6 * scale

    def fill(self, rings, color, tx):
        """Even-odd fill of a set of rings (lists of (x, y)), transformed by tx."""
        spans = {}
        for ring in rings:
            pts = [tx(p) for p in ring]
            for (x1, y1), (x2, y2) in zip(pts, pts[1:] + pts[:1]):
                if y1 == y2:
                    continue
                lo, hi = min(y1, y2), max(y1, y2)
                for row in range(max(0, int(lo) - 1), min(self.h, int(hi) + 1)):
                    yc = row + 0.5
                    if lo <= yc < hi:
                        spans.setdefault(row, []).append(x1 + (yc - y1) * (x2 - x1) / (y2 - y1))
        for row, xs in spans.items():
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(max(0, int(a + 0.5)), min(self.w, int(b + 0.5))):
                    self.rows[row][3 * x:3 * x + 3] = bytes(color[::-1])

    def outline(self, rings, color, tx):
        for ring in rings:
            pts = [tx(p) for p in ring]
            for (x1, y1), (x2, y2) in zip(pts, pts[1:]):
                n = int(max(abs(x2 - x1), abs(y2 - y1))) + 1
                for k in range(n + 1):
                    self.put(int(x1 + (x2 - x1) * k / n), int(y1 + (y2 - y1) * k / n), color)

    def bmp(self):
        """A 24-bit Windows bitmap, rows bottom-up, each padded to four bytes."""
        stride = (3 * self.w + 3) // 4 * 4
        pad = bytes(stride - 3 * self.w)
        pixels = b"".join(bytes(r) + pad for r in reversed(self.rows))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
        return header + info + pixels


def rings_of(geometry):
    polys = [geometry["coordinates"]] if geometry["type"] == "Polygon" else geometry["coordinates"]
    return [ring for poly in polys for ring in poly]


def front_picture(regions_geojson, life_by_region):
    """The world's sub-regions coloured by life expectancy in 2015, with the program's name."""
    img = Image(640, 400, (222, 236, 247))
    for y in range(0, 64):
        for x in range(640):
            img.rows[y][3 * x:3 * x + 3] = bytes((120, 60, 30))  # BGR of a dark blue band
    img.text(20, 10, "zorgui2", 6, (255, 255, 255))
    img.text(300, 14, "WORLD DEMO DATABASE", 2, (255, 255, 255))
    img.text(300, 38, "1960-2016", 2, (255, 220, 0))
    img.text(20, 382, "DATA: GAPMINDER, CC BY 4.0", 2, (40, 40, 40))
    # The map's class colours, highest class first.
    colours = [(255, 0, 0), (255, 130, 0), (255, 180, 0), (240, 240, 0)]
    ranked = sorted(v for v in life_by_region.values() if v is not None)

    def colour(v):
        if v is None:
            return (255, 255, 255)
        rank = ranked.index(v) * len(colours) // len(ranked)
        return colours[len(colours) - 1 - rank]

    def tx(p):
        return (20 + p[0] * 0.6, 70 + p[1] * 0.6)

    for f in regions_geojson["features"]:
        if f["id"] == "__TOTAL__":
            continue
        rings = rings_of(f["geometry"])
        img.fill(rings, colour(life_by_region.get(f["id"])), tx)
        img.outline(rings, (90, 90, 90), tx)
    return img.bmp()


# ------------------------------------------------------------------ source folder

def fmt(v):
    return "%.9g" % v


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: world-source.py <data/world directory> <source folder>")
    data, out = sys.argv[1], sys.argv[2]
    codes, series = read_countries(data)
    w = weights(series)

    regions = sorted({row["region"] for row in codes.values()},
                     key=lambda r: (CONTINENTS.index(next(c["continent"] for c in codes.values()
                                                          if c["region"] == r)), r))
    members = {r: sorted(c for c in series if codes[c]["region"] == r) for r in regions}

    if os.path.exists(out):
        shutil.rmtree(out)
    os.makedirs(os.path.join(out, "maps"))
    os.makedirs(os.path.join(out, "definitions"))

    with open(os.path.join(data, "regions.geojson"), encoding="utf-8") as f:
        region_geo = json.load(f)
    with open(os.path.join(data, "countries.geojson"), encoding="utf-8") as f:
        country_geo = json.load(f)

    def write_geojson(name, features):
        with open(os.path.join(out, "maps", name), "w", encoding="utf-8") as f:
            json.dump({"type": "FeatureCollection", "features": features}, f,
                      separators=(",", ":"))

    # The boundaries are simplified already (Natural Earth 1:50m, coordinates rounded); the maps
    # keep every vertex ("simplify": 0), as the demo database has always had them.
    sets = [{
        "id": 10000, "name": "World", "code": "WLD",
        "regions": [{"id": i + 1, "name": r, "feature": r} for i, r in enumerate(regions)]
                   + [{"id": len(regions) + 1, "name": "World"}],
        "map": {"file": "maps/10000.geojson", "simplify": 0},
    }]
    write_geojson("10000.geojson", [f for f in region_geo["features"] if f["id"] in members])
    plane = Plane(country_geo["features"])
    by_iso = {}  # a code can have several features (Australia and its Ashmore and Cartier Is.)
    for f in country_geo["features"]:
        if "id" in f:
            by_iso.setdefault(f["id"], []).append(f)
    for r_index, r in enumerate(regions, start=1):
        set_id = 10000 + 100 * r_index
        cs = members[r]
        features = [unproject(f, plane) for c in cs for f in by_iso[codes[c]["iso_numeric"]]]
        sets.append({
            "id": set_id, "name": r, "code": REGION_CODES[r],
            "regions": [{"id": i + 1, "name": c, "feature": codes[c]["iso_numeric"]}
                        for i, c in enumerate(cs)] + [{"id": len(cs) + 1, "name": r}],
            "map": {"file": "maps/%d.geojson" % set_id, "coordinates": "lonlat",
                    "projection": "equal-earth", "centralMeridian": central_meridian(features),
                    "simplify": 0},
        })
        write_geojson("%d.geojson" % set_id, features)

    region_totals = {r: aggregate(members[r], series, w) for r in regions}
    world_total = aggregate(list(series), series, w)
    with open(os.path.join(out, "values.csv"), "w", encoding="utf-8", newline="") as f:
        f.write("set,region,indicator,year,value\n")

        def emit(set_id, region_id, table):
            for code in sorted(table):
                for y in sorted(table[code]):
                    f.write("%d,%d,%d,%d,%s\n" % (set_id, region_id, code, y, fmt(table[code][y])))

        for r_index, r in enumerate(regions, start=1):
            set_id = 10000 + 100 * r_index
            for i, c in enumerate(members[r], start=1):
                emit(set_id, i, country_values(series[c]))
            emit(set_id, len(members[r]) + 1, region_totals[r])
            emit(10000, r_index, region_totals[r])
        emit(10000, len(regions) + 1, world_total)

    groups = []
    for gid, gname, inds in GROUPS:
        entries = []
        for code, name, variants in inds:
            entry = {"code": code, "name": name, "definition": "definitions/%d.txt" % code}
            if variants:
                entry["variants"] = [{"code": v, "name": n, "definition": "definitions/%d.txt" % v}
                                     for v, n in variants]
            entries.append(entry)
            for c in [code] + [v for v, _ in variants]:
                shutil.copyfile(os.path.join(data, "definitions", "%d.txt" % c),
                                os.path.join(out, "definitions", "%d.txt" % c))
        groups.append({"id": gid, "name": gname, "indicators": entries})

    manifest = {
        "charset": 0,
        "regionSets": sets,
        "groups": groups,
        "periods": YEARS,
        "values": ["values.csv"],
        "picture": "front.bmp",
        # The credit line printed under every chart, as the sources' licences ask.
        "source": "Source: Gapminder (CC BY 4.0); boundaries: Natural Earth",
    }
    with open(os.path.join(out, "manifest.json"), "w", encoding="utf-8") as f:
        json.dump(manifest, f, indent=1, ensure_ascii=False)

    life = {r: region_totals[r][LIFE].get(2015) for r in regions}
    with open(os.path.join(out, "front.bmp"), "wb") as f:
        f.write(front_picture(region_geo, life))


if __name__ == "__main__":
    main()
