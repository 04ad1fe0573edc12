#!/usr/bin/env python3
"""Prints an ImageMagick `convert` command line that builds the same sheet as
korvanth-convert: every quarter crop composed onto a transparent canvas, by the quarter
tables read from the format registry's source (so the two never drift apart).
Usage: imagemagick_sheet.py INPUT OUTPUT ORIGIN_X ORIGIN_Y [terrain1|terrain2|roof]"""
import os
import re
import shlex
import sys

here = os.path.dirname(os.path.abspath(__file__))
source = open(os.path.join(here, "..", "convert", "format_registry.cpp"), encoding="utf-8").read()

# Format: (its table's name in the source, tiles a sheet row).
formats = {"terrain1": ("kTerrain1Sources", 4), "terrain2": ("kTerrain2Sources", 4),
           "roof": ("kRoofSources", 3)}
image, output, ox, oy = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
table, columns = formats[sys.argv[5] if len(sys.argv) > 5 else "terrain1"]
start = source.index(table + "[]")
block = source[start:source.index("};", start)]
tiles = re.findall(r"\{\{(\d+), (\d+)\}, \{(\d+), (\d+)\}, \{(\d+), (\d+)\}, \{(\d+), (\d+)\}\}", block)
assert tiles, table
rows = (len(tiles) + columns - 1) // columns

args = ["convert", image, "-write", "mpr:src", "+delete", "-size", f"{32 * columns}x{32 * rows}",
        "xc:none", "-compose", "Copy"]
for i, tile in enumerate(tiles):
    c, r = i % columns, i // columns
    for q in range(4):
        sc, sr = int(tile[2 * q]), int(tile[2 * q + 1])
        dx, dy = 32 * c + 16 * (q % 2), 32 * r + 16 * (q // 2)
        args += ["(", "mpr:src", "-crop", f"16x16+{ox + 16 * sc}+{oy + 16 * sr}", "+repage", ")",
                 "-geometry", f"+{dx}+{dy}", "-composite"]
args.append(output)
print(" ".join(shlex.quote(a) for a in args))
