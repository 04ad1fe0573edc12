#!/usr/bin/env python3
"""Paints a small map in Tiled's format with sheets converted from the bundled sample and
renders it with tmxrasterizer: docs/painted-map.png in the README.

Usage: docs/painted_map.py [BUILD_DIR]   (default: build)

The grass block of the sample becomes a Terrain1 sheet with its Tiled tileset; a sand
sheet gives the ground. Each grass cell takes the tile whose wang id matches its
neighbours, as Tiled's terrain brush chooses it.
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
CONVERT = os.path.join(BUILD, "cli", "korvanth-convert")
SAMPLE = os.path.join(ROOT, "samples", "sample-tiles.png")

# '#' grass; anything else sand.
FIELD = """
....................
..#######...........
..#########.....###.
.####...####...####.
.###.....###...###..
.###..#..###........
.####...####..####..
..##########.#######
...#######...###..##
.............###..##
..####........######
.######...#...#####.
.##..##..###........
.######...#.........
..####..............
""".strip().splitlines()


def wang_tiles(tsx):
    tiles = {}
    for tile in ET.parse(tsx).getroot().iter("wangtile"):
        bits = tuple(int(v) for v in tile.get("wangid").split(","))
        tiles.setdefault(bits, int(tile.get("tileid")))
    return tiles


def neighbours(field, x, y):
    def at(cx, cy):
        return 0 <= cy < len(field) and 0 <= cx < len(field[0]) and field[cy][cx]

    n, e, s, w = at(x, y - 1), at(x + 1, y), at(x, y + 1), at(x - 1, y)
    ne = n and e and at(x + 1, y - 1)
    se = s and e and at(x + 1, y + 1)
    sw = s and w and at(x - 1, y + 1)
    nw = n and w and at(x - 1, y - 1)
    return tuple(int(b) for b in (n, ne, e, se, s, sw, w, nw))


def main():
    work = tempfile.mkdtemp(prefix="korvanth-map-")
    subprocess.run([CONVERT, "--format", "terrain1", "--cell", "0,0", "--tileset", "tiled",
                    SAMPLE, os.path.join(work, "grass.png")], check=True)
    subprocess.run([CONVERT, "--format", "terrain1", "--cell", "2,0", "--tileset", "tiled",
                    SAMPLE, os.path.join(work, "sand.png")], check=True)
    grass = wang_tiles(os.path.join(work, "grass.tsx"))
    sand_fill = wang_tiles(os.path.join(work, "sand.tsx"))[(1,) * 8]

    field = [[c == "#" for c in row] for row in FIELD]
    # Cells whose combination the sheet lacks turn to sand, as the brush would leave them.
    dropped = 0
    changed = True
    while changed:
        changed = False
        for y, row in enumerate(field):
            for x, cell in enumerate(row):
                if cell and neighbours(field, x, y) not in grass:
                    row[x] = False
                    dropped += 1
                    changed = True

    width, height = len(field[0]), len(field)
    ground = ",".join(str(41 + sand_fill) for _ in range(width * height))
    terrain = ",".join(str(1 + grass[neighbours(field, x, y)]) if field[y][x] else "0"
                       for y in range(height) for x in range(width))
    tmx = f"""<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" tiledversion="1.8.2" orientation="orthogonal" renderorder="right-down" width="{width}" height="{height}" tilewidth="32" tileheight="32" infinite="0" nextlayerid="3" nextobjectid="1">
 <tileset firstgid="1" source="grass.tsx"/>
 <tileset firstgid="41" source="sand.tsx"/>
 <layer id="1" name="ground" width="{width}" height="{height}"><data encoding="csv">{ground}</data></layer>
 <layer id="2" name="grass" width="{width}" height="{height}"><data encoding="csv">{terrain}</data></layer>
</map>
"""
    with open(os.path.join(work, "map.tmx"), "w") as out:
        out.write(tmx)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(["tmxrasterizer", os.path.join(work, "map.tmx"),
                    os.path.join(HERE, "painted-map.png")], check=True, env=env)
    print(os.path.join(HERE, "painted-map.png"), f"{width * 32} x {height * 32},",
          f"{dropped} cells left to the ground")


if __name__ == "__main__":
    main()
