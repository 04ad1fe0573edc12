#!/usr/bin/env python3
"""Paints a small map in Tiled's format with sheets converted from the bundled sample and
renders it with tmxrasterizer: docs/painted-map.png in the README.

Usage: docs/painted_map.py [BUILD_DIR]   (default: build)

The grass block of the sample becomes a complete Terrain1 sheet and its water block a
complete Terrain2 sheet (every shape has a tile), each with its Tiled tileset; a sand sheet gives the ground. Each grass and water
cell takes the tile of its own terrain whose wang id matches its neighbours, as Tiled's
terrain brush chooses it.
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

# '#' grass, '~' water; anything else sand.
FIELD = """
....................
..#######...........
..#########.....###.
.####...####...####.
.###..~..###...###..
.###.~~~.###........
.####.~.####..####..
..##########.#######
...#######...###..##
.............###..##
..####..~~~....#####
.######~~~~~........
.##..##~~.~~~~~~~~..
.######.~~~~~~.~~~..
..####....~~~~~~~~..
""".strip().splitlines()

# Each painted terrain: the layer's name, the sample's block (format, cell) and its letter.
TERRAINS = [("water", "terrain2", "3,3", "~"), ("grass", "terrain1", "0,0", "#")]


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


def convert(work, name, layout, cell):
    subprocess.run([CONVERT, "--format", layout, "--cell", cell, "--complete", "--tileset",
                    "tiled", SAMPLE, os.path.join(work, name + ".png")], check=True)
    tsx = os.path.join(work, name + ".tsx")
    return wang_tiles(tsx), int(ET.parse(tsx).getroot().get("tilecount"))


def paint(tiles, letter):
    """The cells of `letter`, less those whose combination the sheet lacks (only a lone
    cell's, in a complete set), which turn to sand as the brush would leave them; and how
    many were dropped."""
    field = [[c == letter for c in row] for row in FIELD]
    dropped = 0
    changed = True
    while changed:
        changed = False
        for y, row in enumerate(field):
            for x, cell in enumerate(row):
                if cell and neighbours(field, x, y) not in tiles:
                    row[x] = False
                    dropped += 1
                    changed = True
    return field, dropped


def main():
    work = tempfile.mkdtemp(prefix="korvanth-map-")
    width, height = len(FIELD[0]), len(FIELD)
    sand, count = convert(work, "sand", "terrain1", "2,0")
    tilesets = [f' <tileset firstgid="1" source="sand.tsx"/>']
    layers = [",".join(str(1 + sand[(1,) * 8]) for _ in range(width * height))]
    names = ["sand"]
    firstgid = 1 + count
    dropped = 0
    for name, layout, cell, letter in TERRAINS:
        tiles, count = convert(work, name, layout, cell)
        field, lost = paint(tiles, letter)
        dropped += lost
        tilesets.append(f' <tileset firstgid="{firstgid}" source="{name}.tsx"/>')
        layers.append(",".join(str(firstgid + tiles[neighbours(field, x, y)]) if field[y][x]
                               else "0" for y in range(height) for x in range(width)))
        names.append(name)
        firstgid += count

    body = "\n".join(tilesets) + "\n"
    for index, (name, data) in enumerate(zip(names, layers)):
        body += (f' <layer id="{index + 1}" name="{name}" width="{width}" height="{height}">'
                 f'<data encoding="csv">{data}</data></layer>\n')
    tmx = f"""<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" tiledversion="1.8.2" orientation="orthogonal" renderorder="right-down" width="{width}" height="{height}" tilewidth="32" tileheight="32" infinite="0" nextlayerid="{len(names) + 1}" nextobjectid="1">
{body}</map>
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
