#!/usr/bin/env python3
"""Prints an ImageMagick `convert` command line that builds the same Terrain1 sheet as
korvanth-convert: 160 quarter crops composed onto a transparent 128 x 320 canvas.
Usage: imagemagick_sheet.py INPUT OUTPUT ORIGIN_X ORIGIN_Y"""
import os
import re
import shlex
import sys

here = os.path.dirname(os.path.abspath(__file__))
source = open(os.path.join(here, "..", "convert", "format_registry.cpp"), encoding="utf-8").read()
block = source[source.index("kTerrain1Sources[]"):source.index("kTerrain2Sources[]")]
tiles = re.findall(r"\{\{(\d+), (\d+)\}, \{(\d+), (\d+)\}, \{(\d+), (\d+)\}, \{(\d+), (\d+)\}\}", block)
assert len(tiles) == 40, len(tiles)

image, output, ox, oy = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
args = ["convert", image, "-write", "mpr:src", "+delete", "-size", "128x320", "xc:none",
        "-compose", "Copy"]
for i, tile in enumerate(tiles):
    c, r = i % 4, i // 4
    for q in range(4):
        sc, sr = int(tile[2 * q]), int(tile[2 * q + 1])
        dx, dy = 32 * c + 16 * (q % 2), 32 * r + 16 * (q // 2)
        args += ["(", "mpr:src", "-crop", f"16x16+{ox + 16 * sc}+{oy + 16 * sr}", "+repage", ")",
                 "-geometry", f"+{dx}+{dy}", "-composite"]
args.append(output)
print(" ".join(shlex.quote(a) for a in args))
