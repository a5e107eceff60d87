#!/usr/bin/env python3
"""Writes the starting corpora of the fuzz targets into tests/fuzz/corpus/<target>/.

Run from the repository root: python3 tests/fuzz/make_seeds.py. The fuzzers add what they find
to their own working copies; only these seeds (and the inputs of past findings) are committed.
"""
import json
import os
import random
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CORPUS = os.path.join(ROOT, "tests", "fuzz", "corpus")

FIELDS = [
    ("main", "fck", "20"), ("main", "creepCoefficient", "2.5"), ("main", "fyk", "500"),
    ("main", "Es", "200"), ("main", "Gamac", "1.4"), ("main", "Gamas", "1.15"),
    ("main", "vertexCount", ""), ("main", "barCount", ""), ("main", "totalSteelArea", ""),
    ("RectangularSolid", "hx", "20"), ("RectangularSolid", "hy", "40"),
    ("RectangularHollow", "hx", "60"), ("RectangularHollow", "hy", "60"),
    ("RectangularHollow", "bxo", ""), ("RectangularHollow", "byo", ""),
    ("CircularSolid", "diameter", "20"), ("CircularSolid", "cover", ""),
    ("CircularHollow", "De", "40"), ("CircularHollow", "Di", ""), ("CircularHollow", "cover", ""),
    ("loads", "L", "400"), ("loads", "Fd", ""), ("loads", "Hxd_t", ""), ("loads", "Hyd_t", ""),
    ("loads", "Mxd_t", ""), ("loads", "Myd_t", ""), ("loads", "Mxd_b", ""),
    ("loads", "Myd_b", ""), ("loads", "pxd", ""), ("loads", "pyd", ""),
]
KINDS = ["RectangularSolid", "RectangularHollow", "CircularSolid", "CircularHollow", "Polygonal"]
SUPPORTS = ["Fixed", "Pinned", "Free"]


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def column_files():
    files = []
    for folder in ("examples", os.path.join("tests", "data", "reference")):
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if name.endswith(".json") and not name.endswith(".expected.json"):
                files.append((name, open(os.path.join(ROOT, folder, name), "rb").read()))
    return files


def as_column_text(doc, answer_yes=False, design=False):
    main = doc.get("main", {})
    section = doc.get("section", {})
    loads = doc.get("loads", {})
    kind = KINDS.index(main.get("sectionType", "RectangularSolid"))
    base = SUPPORTS.index(loads.get("baseSupport", "Pinned"))
    top = SUPPORTS.index(loads.get("topSupport", "Pinned"))
    lines = [f"{kind}{base}{top}{int(answer_yes)}{int(design)}"]
    for group, key, default in FIELDS:
        holder = main if group == "main" else loads if group == "loads" else section.get(group, {})
        lines.append(str(holder.get(key, default)))
    lines += [f"{x};{y}" for x, y in section.get("vertices", [])]
    lines.append("#")
    lines += [f"{x};{y}" for x, y in section.get("bars", [])]
    return "\n".join(lines) + "\n"


def main():
    rng = random.Random(6118)

    numbers = ["0", "20", "2.5", "1,5", "2.5e1", "1D3", "-.5", " 1 2 . 5 ", "&H1F", "&O17",
               "&HFFFF", "1e400", "-1e400", "1e-400", "4.9e-324", "2.2250738585072011e-308",
               "NaN", "inf", "3.5", "4.5", "-32768.5", "32767.5", "1e+", "5.e-3x",
               "0." + "0" * 30 + "1e31", "9" * 40, "1.2.3", "\t-\n7"]
    for i, text in enumerate(numbers):
        write("number_reading", f"seed-{i:02d}", text)

    for name, data in column_files():
        write("column_file", name, data)
    head = '{"format":"tarvelo-column","version":1,'
    hostile = {
        "nested": "[" * 40 + "]" * 40,
        "bad-utf8": head.encode() + b'"title":"\xff\xfe"}',
        "huge-number": head + '"main":{"fck":1e400}}',
        "nan-text": head + '"main":{"fck":"NaN","Es":"-1e400"}}',
        "unicode": head + '"title":"Pilar P1 \\u2013 t\\u00e9rreo \\u0000"}',
        "rows": head + '"section":{"vertices":[' + ",".join(['["1","2"]'] * 20) + ']}}',
    }
    for name, data in hostile.items():
        write("column_file", name, data)

    for i in range(24):
        write("section_integration", f"seed-{i:02d}",
              bytes(rng.randrange(256) for _ in range(rng.choice([64, 256, 1024, 4096]))))

    for name, data in column_files():
        doc = json.loads(data)
        stem = name[:-5]
        write("verification", stem + ".txt", as_column_text(doc))
        write("verification", stem + "-design.txt", as_column_text(doc, design=True))
    write("verification", "file-form.json", column_files()[0][1])
    odd = {"main": {"fck": "15", "Es": "0", "barCount": "4"}, "loads": {"Fd": "1e400"}}
    write("verification", "odd.txt", as_column_text(odd, answer_yes=False))
    neg = {"main": {"barCount": "4", "sectionType": "RectangularSolid"},
           "section": {"RectangularSolid": {"hx": "-20", "hy": "-40"},
                       "bars": [["3", "3"], ["17", "3"], ["3", "37"], ["17", "37"]]},
           "loads": {"Fd": "100"}}
    write("verification", "negative-rectangle.txt", as_column_text(neg))
    coordinates = {
        "vertices.txt": "0 0\n60 0\n60 20\n20 20\n20 60\n0 60\n",
        "bars.txt": "# barras\n4;4\n56,4\r\n\n56\t16\n-1.5e1 +16.\n",
        "bom.txt": "\ufeff1 2\n3 4",
        "three.txt": "1 2 3\n",
        "comma.txt": "1,5 2\n",
        "badexp.txt": ".5 1e\n",
        "huge.txt": "1e400 -1e400\n",
    }
    for name, text in coordinates.items():
        write("coordinate_file", name, text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
