#!/usr/bin/env python3
"""Writes a zorimport source folder for a large benchmark database: the 51 US states (and the
national total) at the top level, one set of counties per state, and 60 indicators over 40 years.
With --counties-top the top level is instead the 3,142 counties (and the national total) in one
region set with one map of all counties, and there are no sub-region sets.

usage: us-source.py [--counties-top] <US data directory> <source folder to write>

The data directory holds counties.geojson, states.geojson, unemployment-2009.csv and
state-fips.csv. Only one year of real county figures exists there (population and the
unemployment rate of 2009); every other year and indicator is derived from those figures by
fixed made-up rules, and the definition texts say so.
"""

import csv
import hashlib
import json
import os
import shutil
import sys

YEARS = list(range(1980, 2020))
BASE_YEAR = 2009
GROUPS = ["Population", "Labour", "Derived A", "Derived B", "Derived C", "Derived D"]
PER_GROUP = 10

# A made-up national cycle of the unemployment rate, relative to 2009 (1.0 in 2009).
CYCLE = [0.77, 0.82, 1.04, 1.03, 0.81, 0.77, 0.75, 0.67, 0.59, 0.57, 0.60, 0.73, 0.81, 0.74,
         0.66, 0.60, 0.58, 0.53, 0.48, 0.45, 0.43, 0.51, 0.62, 0.65, 0.59, 0.55, 0.49, 0.49,
         0.62, 1.00, 1.03, 0.96, 0.87, 0.80, 0.67, 0.57, 0.53, 0.47, 0.42, 0.40]


def unit(*parts):
    """A deterministic number in [0, 1) for the given key."""
    h = hashlib.blake2b(("/".join(map(str, parts))).encode(), digest_size=8).digest()
    return int.from_bytes(h, "little") / 2.0 ** 64


def indicators():
    """(code, name, kind) for the 60 indicators; kind "count" sums, "rate" averages."""
    out = [(0, "Population (derived)", "count"), (10, "Population growth (% per year, derived)", "rate")]
    out += [(1000, "Unemployment rate (%, derived)", "rate"),
            (1010, "Unemployed persons (derived)", "count"),
            (1020, "Labour force (derived)", "count")]
    for g in range(len(GROUPS)):
        have = sum(1 for c, _, _ in out if c // 1000 == g)
        for s in range(have, PER_GROUP):
            kind = "count" if s % 2 == 0 else "rate"
            out.append((g * 1000 + s * 10, "%s index %d.%02d (%s, derived)" %
                        (GROUPS[g], g, s, "count" if kind == "count" else "rate"), kind))
    return sorted(out)


def county_series(fips, pop09, unemp09, inds):
    """Indicator code -> list of values over YEARS for one county."""
    growth = -0.015 + 0.04 * unit("growth", fips)
    pop = [pop09 * (1 + growth) ** (y - BASE_YEAR) for y in YEARS]
    level = 0.8 + 0.4 * unit("level", fips)
    unemp = [max(0.5, min(40.0, unemp09 * (CYCLE[i] * level + (1 - level)) *
                          (0.95 + 0.1 * unit("u", fips, y)))) for i, y in enumerate(YEARS)]
    labour = [p * (0.45 + 0.1 * unit("lf", fips)) for p in pop]
    out = {0: pop, 1000: unemp, 1020: labour,
           10: [100 * growth] * len(YEARS),
           1010: [lf * u / 100 for lf, u in zip(labour, unemp)]}
    for code, _, kind in inds:
        if code in out:
            continue
        a, b = unit("a", code, fips), unit("b", code)
        if kind == "count":
            out[code] = [p * (0.05 + a) * (1 + 0.01 * b * (y - BASE_YEAR)) for p, y in zip(pop, YEARS)]
        else:
            out[code] = [10 * (0.5 + a) + u * b for u in unemp]
    return out


def total(series_list, weights_list, inds):
    """Sums for counts, population-weighted means for rates, over the members with values."""
    out = {}
    for code, _, kind in inds:
        vals = []
        for i in range(len(YEARS)):
            members = [(s[code][i], w[i]) for s, w in zip(series_list, weights_list)]
            if kind == "count":
                vals.append(sum(v for v, _ in members))
            else:
                wsum = sum(w for _, w in members)
                vals.append(sum(v * w for v, w in members) / wsum)
        out[code] = vals
    return out


def write_values(path, rows):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("region,indicator,year,value\n")
        for region, series in rows:
            for code in sorted(series):
                f.write("".join("%d,%d,%d,%.7g\n" % (region, code, y, v)
                                for y, v in zip(YEARS, series[code])))


def write_groups(out, inds):
    """The definition texts; returns the manifest's groups."""
    groups = []
    for g, gname in enumerate(GROUPS):
        entries = []
        for code, name, kind in inds:
            if code // 1000 != g:
                continue
            text = (name.replace(" (derived)", "").replace(", derived", "") + "\n\n"
                    "Benchmark data, not real statistics. Only the county population and "
                    "unemployment rate of 2009 are real (US Bureau of Labor Statistics, public "
                    "domain); this indicator and every other year are derived from those two "
                    "figures by fixed made-up rules. States and the nation: %s of the counties.\n"
                    % ("sums" if kind == "count" else "population-weighted means"))
            with open(os.path.join(out, "definitions", "%d.txt" % code), "w", encoding="utf-8") as f:
                f.write(text)
            entries.append({"code": code, "name": name, "definition": "definitions/%d.txt" % code})
        groups.append({"id": g, "name": gname, "indicators": entries})
    return groups


def county_rows(counties, figures, inds):
    """The value rows of counties numbered from 1 in the given order, then their total as the
    last row; returns the rows and the total's series."""
    rows, series_list, weights_list = [], [], []
    for i, c in enumerate(counties, start=1):
        if c["id"] not in figures:
            continue  # no 2009 figures: every value missing
        pop09, unemp09 = figures[c["id"]]
        s = county_series(c["id"], pop09, unemp09, inds)
        rows.append((i, s))
        series_list.append(s)
        weights_list.append(s[0])
    t = total(series_list, weights_list, inds)
    rows.append((len(counties) + 1, t))
    return rows, t


def counties_top(data, out, counties_geo, figures, inds):
    """One region set: every county at the top level, the nation as the total."""
    counties = sorted(counties_geo["features"], key=lambda f: f["id"])
    rows, _ = county_rows(counties, figures, inds)
    write_values(os.path.join(out, "values", "10000.csv"), rows)
    shutil.copyfile(os.path.join(data, "counties.geojson"), os.path.join(out, "maps", "counties.geojson"))
    sets = [{"id": 10000, "name": "United States counties", "code": "USA",
             "regions": [{"id": i + 1, "name": c["properties"]["name"], "feature": c["id"]}
                         for i, c in enumerate(counties)] + [{"id": len(counties) + 1, "name": "United States"}],
             "map": {"file": "maps/counties.geojson"}}]
    with open(os.path.join(out, "manifest.json"), "w", encoding="utf-8") as f:
        json.dump({"charset": 0, "regionSets": sets, "groups": write_groups(out, inds),
                   "periods": YEARS, "values": [{"file": "values/10000.csv", "set": 10000}]},
                  f, indent=1, ensure_ascii=False)


def main():
    args = sys.argv[1:]
    top_counties = "--counties-top" in args
    args = [a for a in args if a != "--counties-top"]
    if len(args) != 2:
        sys.exit("usage: us-source.py [--counties-top] <US data directory> <source folder>")
    data, out = args
    if os.path.exists(out):
        shutil.rmtree(out)
    for d in ("maps", "values", "definitions"):
        os.makedirs(os.path.join(out, d))
    with open(os.path.join(data, "states.geojson"), encoding="utf-8") as f:
        states_geo = json.load(f)
    with open(os.path.join(data, "counties.geojson"), encoding="utf-8") as f:
        counties_geo = json.load(f)
    abbrev = {}
    with open(os.path.join(data, "state-fips.csv"), newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            abbrev["%02d" % int(row["fips"])] = row["abb"]
    figures = {}
    with open(os.path.join(data, "unemployment-2009.csv"), newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            figures["%05d" % int(row["fips"])] = (float(row["pop"]), float(row["unemp"]))

    inds = indicators()
    if top_counties:
        counties_top(data, out, counties_geo, figures, inds)
        return
    states = sorted(states_geo["features"], key=lambda f: f["id"])
    counties = {}
    for f in counties_geo["features"]:
        counties.setdefault(f["id"][:2], []).append(f)

    sets = [{"id": 10000, "name": "United States", "code": "USA",
             "regions": [{"id": i + 1, "name": s["properties"]["name"], "feature": s["id"]}
                         for i, s in enumerate(states)] + [{"id": len(states) + 1, "name": "United States"}],
             "map": {"file": "maps/states.geojson"}}]
    shutil.copyfile(os.path.join(data, "states.geojson"), os.path.join(out, "maps", "states.geojson"))
    values = [{"file": "values/10000.csv", "set": 10000}]
    state_rows, state_series, state_weights = [], [], []
    for r, st in enumerate(states, start=1):
        set_id = 10000 + 100 * r
        cs = sorted(counties.get(st["id"], []), key=lambda f: f["id"])
        rows, t = county_rows(cs, figures, inds)
        write_values(os.path.join(out, "values", "%d.csv" % set_id), rows)
        values.append({"file": "values/%d.csv" % set_id, "set": set_id})
        state_rows.append((r, t))
        state_series.append(t)
        state_weights.append(t[0])
        name = st["properties"]["name"]
        sets.append({"id": set_id, "name": name, "code": abbrev.get(st["id"], st["id"]),
                     "regions": [{"id": i + 1, "name": c["properties"]["name"], "feature": c["id"]}
                                 for i, c in enumerate(cs)] + [{"id": len(cs) + 1, "name": name}],
                     "map": {"file": "maps/%d.geojson" % set_id}})
        with open(os.path.join(out, "maps", "%d.geojson" % set_id), "w", encoding="utf-8") as f:
            json.dump({"type": "FeatureCollection", "features": cs}, f, separators=(",", ":"))
    state_rows.append((len(states) + 1, total(state_series, state_weights, inds)))
    write_values(os.path.join(out, "values", "10000.csv"), state_rows)

    with open(os.path.join(out, "manifest.json"), "w", encoding="utf-8") as f:
        json.dump({"charset": 0, "regionSets": sets, "groups": write_groups(out, inds), "periods": YEARS,
                   "values": values}, f, indent=1, ensure_ascii=False)


if __name__ == "__main__":
    main()
