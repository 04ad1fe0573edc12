#!/usr/bin/env python3
"""Draws samples/sample-tiles.png, the bundled tile picture (256 x 224, RGBA, opaque).

Usage: samples/make_sample.py [OUTPUT]   (default: samples/sample-tiles.png beside this)

Layout, in 32-pixel cells: four terrain1 blocks (64 x 96: grass, sand, snow, stone) along
the top at cells (0,0), (2,0), (4,0), (6,0); two terrain2 blocks (96 x 128: dirt, water) at
cells (0,3) and (3,3); two roof blocks (64 x 64: red tiles, slate) at cells (6,3), (6,5).

Every terrain pixel is colour(band(d)) + noise(x mod 16, y mod 16), d being its distance
(Chebyshev, 0 on the outermost pixel) to the terrain's edge as the pixel's own part of the
block sees it, x and y block-local. Quarters start at multiples of 16, so every quarter of
one kind (an outer corner, an edge, an inner corner, a full quarter) is pixel for pixel the
same as every other of that kind, and quarters put together by any neighbour shape join
without a seam. The inner-corner piece has its notch at each of its four outer corners:
its top-left quarter goes where the sides above and to the left are terrain and the
diagonal between them is not.

Standard library only; the output is the same bytes on every run.
"""
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 256, 224
QUARTER = 16
DEEP = 1 << 20  # distance of a pixel that no edge reaches

# Parts of a terrain block in quarters: (part, column, row, columns, rows).
TERRAIN1 = [("unread", 0, 0, 2, 2), ("inner", 2, 0, 2, 2), ("patch", 0, 2, 4, 4)]
TERRAIN2 = [("closed", 0, 0, 2, 2), ("own", 2, 0, 2, 2), ("inner", 4, 0, 2, 2),
            ("patch", 0, 2, 6, 6)]

# Bands of distance from the edge: a light rim, a dark border, a shade, the fill. Each
# terrain gives one colour a band and a noise strength a band.
BAND_LIMITS = (2, 5, 7)  # d below 2: rim; below 5: border; below 7: shade; else fill
NOISE = (3, 5, 6, 9)


def band(d):
    for index, limit in enumerate(BAND_LIMITS):
        if d < limit:
            return index
    return len(BAND_LIMITS)


def rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


TERRAINS = {
    "grass": [rgb(c) for c in ("#c9b486", "#6b4a26", "#3f7f2d", "#58a23c")],
    "sand": [rgb(c) for c in ("#f4e6bc", "#9a7642", "#cfae6c", "#e6cb8a")],
    "snow": [rgb(c) for c in ("#dfe8f2", "#6c7890", "#c2cfe2", "#f1f5fb")],
    "stone": [rgb(c) for c in ("#c4c4cc", "#45454f", "#7c7c88", "#9a9aa6")],
    "dirt": [rgb(c) for c in ("#d6b892", "#4e3219", "#7a5232", "#94683f")],
    "water": [rgb(c) for c in ("#eef6fc", "#24507e", "#3272ae", "#4490d2")],
}
# The artist's own tile of a terrain2 block: a decoration on the fill (outline, body,
# highlight).
DECORATIONS = {
    "dirt": [rgb(c) for c in ("#3a3a40", "#8a8a94", "#c4c4cc")],
    "water": [rgb(c) for c in ("#1e5a1e", "#4ea03a", "#f0a0c8")],
}
ROOFS = {
    "red": [rgb(c) for c in ("#5a1c12", "#7e2a1c", "#b4432e")],
    "slate": [rgb(c) for c in ("#1e2430", "#38445a", "#5a6a88")],
}


def noise(x, y, salt):
    """A fixed value in -128..127 for a pixel of a 16 x 16 quarter."""
    h = (x * 0x9E3779B1 ^ y * 0x85EBCA77 ^ salt * 0xC2B2AE3D) & 0xFFFFFFFF
    h ^= h >> 15
    h = (h * 0x2C1B3C6D) & 0xFFFFFFFF
    h ^= h >> 12
    return (h & 0xFF) - 128


def shaded(colour, amount):
    return tuple(max(0, min(255, c + amount)) for c in colour)


def part_distance(part, x, y, w, h):
    """Distance of (x, y) to the terrain's edge within a part of w x h pixels."""
    if part in ("patch", "closed"):
        return min(x, y, w - 1 - x, h - 1 - y)
    if part == "inner":
        # Each quarter meets the edge at the piece's outer corner beside it.
        lx, ly = x % QUARTER, y % QUARTER
        dx = lx if x < QUARTER else QUARTER - 1 - lx
        dy = ly if y < QUARTER else QUARTER - 1 - ly
        return max(dx, dy)
    return DEEP


def decoration(x, y, colours):
    """The artist's tile: a round thing in the middle of the fill, or None off it."""
    distance2 = (2 * x - 31) ** 2 + (2 * y - 31) ** 2  # twice the offset from the centre
    if distance2 > 4 * 10 * 10:
        return None
    if distance2 > 4 * 8 * 8:
        return colours[0]
    if (2 * x - 25) ** 2 + (2 * y - 25) ** 2 <= 4 * 3 * 3:
        return colours[2]
    return colours[1]


def terrain_pixel(parts, x, y, name, salt):
    for part, column, row, columns, rows in parts:
        left, top = column * QUARTER, row * QUARTER
        w, h = columns * QUARTER, rows * QUARTER
        if not (left <= x < left + w and top <= y < top + h):
            continue
        if part == "own":
            decorated = decoration(x - left, y - top, DECORATIONS[name])
            if decorated is not None:
                return shaded(decorated, noise(x % QUARTER, y % QUARTER, salt + 1) * 4 // 128)
        d = part_distance(part, x - left, y - top, w, h)
        b = band(d)
        amount = noise(x % QUARTER, y % QUARTER, salt) * NOISE[b] // 128
        return shaded(TERRAINS[name][b], amount)
    raise ValueError(f"({x}, {y}) lies in no part of the block")


def roof_pixel(x, y, name, salt):
    """A 64 x 64 roof: ridge along the top, eaves along the bottom, verges at the sides,
    courses of tiles between, every quarter of one kind the same."""
    dark, joint, tile = ROOFS[name]
    amount = noise(x % QUARTER, y % QUARTER, salt) * 6 // 128
    if x < 2 or x > 61:
        return shaded(dark, amount)
    if y < 4:
        return shaded(joint if y == 3 else dark, amount)
    if y > 60:
        return shaded(dark, amount)
    course = (y % QUARTER) // 8
    if y % 8 == 7 or (x + 8 * course) % QUARTER == 0:
        return shaded(joint, amount)
    # Light falls on each course's upper rows.
    return shaded(tile, amount + (10 if y % 8 < 2 else 0))


# (kind, x, y, look) of every block, x and y in pixels.
BLOCKS = [
    (TERRAIN1, 0, 0, "grass"), (TERRAIN1, 64, 0, "sand"),
    (TERRAIN1, 128, 0, "snow"), (TERRAIN1, 192, 0, "stone"),
    (TERRAIN2, 0, 96, "dirt"), (TERRAIN2, 96, 96, "water"),
    ("roof", 192, 96, "red"), ("roof", 192, 160, "slate"),
]


def block_size(kind):
    if kind == "roof":
        return 64, 64
    return (max((c + w) for _, c, _, w, _ in kind) * QUARTER,
            max((r + h) for _, _, r, _, h in kind) * QUARTER)


def draw():
    pixels = [[(0, 0, 0, 0)] * WIDTH for _ in range(HEIGHT)]
    for salt, (kind, left, top, name) in enumerate(BLOCKS):
        w, h = block_size(kind)
        for y in range(h):
            for x in range(w):
                if kind == "roof":
                    colour = roof_pixel(x, y, name, salt)
                else:
                    colour = terrain_pixel(kind, x, y, name, salt)
                pixels[top + y][left + x] = colour + (255,)
    return pixels


def png_bytes(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in pixels)
    header = struct.pack(">IIBBBBB", len(pixels[0]), len(pixels), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "sample-tiles.png")
    with open(output, "wb") as out:
        out.write(png_bytes(draw()))
    print(output, f"{WIDTH} x {HEIGHT}")


if __name__ == "__main__":
    main()
