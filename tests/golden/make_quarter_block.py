#!/usr/bin/env python3
"""Writes quarter_block.png: a 96 x 128 opaque picture (6 x 8 quarters of 16 x 16) in
which every pixel says where it comes from: red = 20 + 40 * quarter column, green =
15 + 30 * quarter row, blue = 16 * y + x inside the quarter. The golden sheets beside it
were converted from it once and checked by decoding those values back.
Needs ImageMagick's `convert` for the PNG encoding."""
import subprocess
import sys

WIDTH, HEIGHT = 96, 128
pixels = bytearray()
for y in range(HEIGHT):
    for x in range(WIDTH):
        column, row, u, v = x // 16, y // 16, x % 16, y % 16
        pixels += bytes((20 + 40 * column, 15 + 30 * row, 16 * v + u, 255))
header = (f"P7\nWIDTH {WIDTH}\nHEIGHT {HEIGHT}\nDEPTH 4\nMAXVAL 255\n"
          "TUPLTYPE RGB_ALPHA\nENDHDR\n").encode()
out = sys.argv[1] if len(sys.argv) > 1 else "quarter_block.png"
subprocess.run(["convert", "pam:-", "-define", "png:color-type=6", out],
               input=header + bytes(pixels), check=True)
