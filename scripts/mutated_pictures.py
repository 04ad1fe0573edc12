#!/usr/bin/env python3
"""Writes damaged copies of pictures of every type read, the same ones on every run (the
random numbers come from a fixed seed): bits flipped, the file cut short, or a run of bytes
written over. scripts/host_answers.sh then compares the Linux and Windows converters'
answers on them.

The pictures: the fuzz seeds, and the bundled sample written as an RLE8 BMP, an RLE4 BMP,
an interlaced GIF, an animated GIF and progressive and baseline JPEGs (ImageMagick's
convert), so that damage also lands in compressed data long enough to hide it.

Usage: scripts/mutated_pictures.py OUTDIR [COUNT_PER_PICTURE]   (default 4)
"""
import importlib.util
import os
import random
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def load_seed_writer():
    """tests/fuzz/make_seeds.py, whose BMP writer (RLE8 and RLE4 among its layouts) is used."""
    path = os.path.join(ROOT, "tests", "fuzz", "make_seeds.py")
    spec = importlib.util.spec_from_file_location("make_seeds", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def rle_bmp(sample, path, colours, bits):
    """The sample, opaque and reduced to `colours`, as an RLE8 or RLE4 BMP."""
    seeds = load_seed_writer()
    size = subprocess.run(["identify", "-format", "%w %h", sample], capture_output=True,
                          check=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    data = subprocess.run(["convert", sample, "-alpha", "off", "+dither", "-colors", str(colours),
                           "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    pixels = [data[i:i + 3] for i in range(0, len(data), 3)]
    palette = []
    for p in pixels:
        if p not in palette:
            palette.append(p)
    index = {c: i for i, c in enumerate(palette)}
    rows = [[index[pixels[y * width + x]] for x in range(width)] for y in range(height)][::-1]
    with open(path, "wb") as f:
        f.write(seeds.bmp_file(width, height, bits, seeds.rle(rows, bits), palette,
                               compression=1 if bits == 8 else 2))


def sample_variants(work):
    """The sample in the compressed kinds where damage hides longest."""
    sample = os.path.join(ROOT, "samples", "sample-tiles.png")
    made = []
    for name, colours, bits in (("sample-rle8.bmp", 200, 8), ("sample-rle4.bmp", 16, 4)):
        made.append(os.path.join(work, name))
        rle_bmp(sample, made[-1], colours, bits)
    for name, args in [
        ("sample-interlaced.gif", ["-interlace", "GIF", "GIF:"]),
        ("sample-progressive.jpg", ["-interlace", "JPEG", "-quality", "85", "JPEG:"]),
        ("sample-baseline.jpg", ["-quality", "85", "JPEG:"]),
    ]:
        path = os.path.join(work, name)
        subprocess.run(["convert", sample, *args[:-1], args[-1] + path], check=True)
        made.append(path)
    animated = os.path.join(work, "sample-animated.gif")
    subprocess.run(["convert", "-delay", "20", sample, "(", sample, "-negate", ")", animated],
                   check=True)
    made.append(animated)
    return made


def mutate(data, rng):
    """One kind of damage, its place and size drawn from rng; returns (bytes, label)."""
    kind = rng.choice(("flip", "cut", "run"))
    # Past the signature: damage there only makes a file of no known type.
    start = min(8, len(data) - 1)
    if kind == "flip":
        out = bytearray(data)
        flips = rng.randint(1, 8)
        for _ in range(flips):
            at = rng.randrange(start, len(out))
            out[at] ^= 1 << rng.randrange(8)
        return bytes(out), f"flip{flips}"
    if kind == "cut":
        at = rng.randrange(start, len(data))
        return data[:at], f"cut{at}"
    at = rng.randrange(start, len(data))
    length = rng.randint(1, 64)
    value = rng.choice((0x00, 0xFF, rng.randrange(256)))
    out = bytearray(data)
    out[at:at + length] = bytes([value]) * len(out[at:at + length])
    return bytes(out), f"run{at}x{length}"


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    outdir = sys.argv[1]
    per_picture = int(sys.argv[2]) if len(sys.argv) == 3 else 4
    os.makedirs(outdir, exist_ok=True)
    work = os.path.join(outdir, "sources")
    os.makedirs(work, exist_ok=True)
    seeds = os.path.join(ROOT, "tests", "fuzz", "seeds")
    sources = sorted(os.path.join(seeds, kind, name) for kind in sorted(os.listdir(seeds))
                     for name in os.listdir(os.path.join(seeds, kind)))
    sources += sample_variants(work)
    rng = random.Random(23)
    written = 0
    for source in sources:
        with open(source, "rb") as f:
            data = f.read()
        stem, ext = os.path.splitext(os.path.basename(source))
        for i in range(per_picture):
            damaged, label = mutate(data, rng)
            with open(os.path.join(outdir, f"{stem}-{i}-{label}{ext}"), "wb") as f:
                f.write(damaged)
            written += 1
    print(f"mutated_pictures: {written} files from {len(sources)} pictures in {outdir}")


if __name__ == "__main__":
    main()
