#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpus: small valid pictures of every variant the loader
reads, one folder per type. Each file is checked to be the variant its name says (by its
own structure, `tiffinfo` or `file`) before it is kept.

Usage: tests/fuzz/make_seeds.py [OUTDIR]   (default: tests/fuzz/seeds)
Needs ImageMagick's convert, cjpeg (libjpeg-turbo-progs), tiffcp and tiffinfo (libtiff-tools).
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

SIZE = 64  # a whole 地形1-wide block; flat colours keep the compressed files small
SMALL = 16  # uncompressed BMP and TIFF: a few hundred bytes rather than 16 KiB


def run(*args):
    done = subprocess.run(args, capture_output=True)
    if done.returncode != 0:
        sys.exit(f"make_seeds: {' '.join(args)}: {done.stderr.decode(errors='replace')}")
    return done.stdout


def fail(path, why):
    sys.exit(f"make_seeds: {path}: {why}")


# ---- the base pictures ------------------------------------------------------------


def base_pictures(work):
    """A 64 x 64 picture of flat blocks and a disc in six colours, one corner transparent
    and one half-transparent; the opaque copy flattens it over white."""

    def colour(x, y):
        if x < 16 and y >= 48:
            return (0, 0, 0, 0)
        if x >= 48 and y < 16:
            return (32, 64, 128, 128)
        if (x - 40) ** 2 + (y - 20) ** 2 <= 100:
            return (224, 208, 96, 255)
        if x < 32 and y < 32:
            return (192, 128, 64, 255)
        if x >= 32 and y >= 32:
            return (32, 80, 128, 255)
        return (58, 122, 58, 255)

    raw = os.path.join(work, "base.rgba")
    with open(raw, "wb") as f:
        f.write(bytes(v for y in range(SIZE) for x in range(SIZE) for v in colour(x, y)))
    rgba = os.path.join(work, "base.png")
    run("convert", "-size", f"{SIZE}x{SIZE}", "-depth", "8", "rgba:" + raw, "PNG32:" + rgba)
    opaque = os.path.join(work, "opaque.ppm")
    run("convert", rgba, "-background", "white", "-flatten", opaque)
    return rgba, opaque


def raw_rgba(path, size):
    # Sampled, not resized: no blended colours beyond the picture's own six.
    data = run("convert", path, "-sample", f"{size}x{size}!", "-depth", "8", "rgba:-")
    return [data[i:i + 4] for i in range(0, len(data), 4)]


# ---- PNG ---------------------------------------------------------------------------


def png_chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    chunks, at = {}, 8
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks.setdefault(kind.decode("latin-1"), data[at + 8:at + 8 + length])
        at += 12 + length
    return chunks


def check_png(path, depth, colour_type, interlace=0, trns=False):
    chunks = png_chunks(open(path, "rb").read())
    if chunks is None or "IHDR" not in chunks:
        fail(path, "not a PNG")
    got = struct.unpack(">IIBBBBB", chunks["IHDR"])
    if (got[2], got[3], got[6]) != (depth, colour_type, interlace):
        fail(path, f"depth, colour type, interlace are {got[2]}, {got[3]}, {got[6]}")
    if trns != ("tRNS" in chunks):
        fail(path, "tRNS chunk " + ("missing" if trns else "present"))


def make_png(out, rgba, opaque):
    strip = ["-strip", "-define", "png:exclude-chunks=date,time"]
    grey = ["-colorspace", "Gray", "-define", "png:color-type=0"]
    two_level_alpha = ["-channel", "A", "-threshold", "50%", "+channel"]
    # (name, source, options, ImageMagick's PNG flavour, (depth, colour type, interlace, tRNS))
    cases = [
        ("png-rgba.png", rgba, [], "PNG32:", (8, 6)),
        ("png-rgb.png", opaque, [], "PNG24:", (8, 2)),
        ("png-palette.png", opaque, [], "PNG8:", (8, 3)),
        ("png-palette-trns.png", rgba, two_level_alpha, "PNG8:", (8, 3, 0, True)),
        ("png-grey.png", opaque, [*grey, "-depth", "8"], "", (8, 0)),
        ("png-grey-trns.png", opaque, ["-transparent", "white", *grey, "-depth", "8"], "",
         (8, 0, 0, True)),
        ("png-16bit.png", rgba, ["-depth", "16"], "PNG64:", (16, 6)),
        ("png-grey-16bit.png", opaque, [*grey, "-depth", "16"], "", (16, 0)),
        ("png-interlaced.png", rgba, ["-interlace", "PNG"], "PNG32:", (8, 6, 1)),
    ]
    for name, source, options, flavour, expect in cases:
        path = os.path.join(out, name)
        run("convert", source, *strip, *options, flavour + path)
        check_png(path, *expect)


# ---- JPEG --------------------------------------------------------------------------


def jpeg_markers(data):
    """(SOF marker, [(h, v) sampling per component], DRI present, Adobe transform)."""
    at, sof, sampling, dri, adobe = 2, None, [], False, None
    while at + 4 <= len(data) and data[at] == 0xFF:
        marker = data[at + 1]
        length = struct.unpack(">H", data[at + 2:at + 4])[0]
        body = data[at + 4:at + 2 + length]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            sof = marker
            sampling = [(body[7 + 3 * i] >> 4, body[7 + 3 * i] & 15) for i in range(body[5])]
        elif marker == 0xDD:
            dri = True
        elif marker == 0xEE and body[:5] == b"Adobe":
            adobe = body[11]
        elif marker == 0xDA:
            break
        at += 2 + length
    return sof, sampling, dri, adobe


def check_jpeg(path, sof, sampling, dri=False):
    got = jpeg_markers(open(path, "rb").read())
    if got[0] != sof or got[1] != sampling or got[2] != dri:
        fail(path, f"SOF {got[0]:#x}, sampling {got[1]}, restart interval {got[2]}")


def make_jpeg(out, opaque):
    full = [(1, 1)] * 3
    cases = [
        ("jpeg-baseline-420.jpg", ["-sample", "2x2"], 0xC0, [(2, 2), (1, 1), (1, 1)]),
        ("jpeg-baseline-422.jpg", ["-sample", "2x1"], 0xC0, [(2, 1), (1, 1), (1, 1)]),
        ("jpeg-baseline-444.jpg", ["-sample", "1x1"], 0xC0, full),
        ("jpeg-progressive-420.jpg", ["-progressive", "-sample", "2x2"], 0xC2,
         [(2, 2), (1, 1), (1, 1)]),
        ("jpeg-progressive-444.jpg", ["-progressive", "-sample", "1x1"], 0xC2, full),
        ("jpeg-grey.jpg", ["-grayscale"], 0xC0, [(1, 1)]),
        ("jpeg-grey-progressive.jpg", ["-grayscale", "-progressive"], 0xC2, [(1, 1)]),
        ("jpeg-restart.jpg", ["-restart", "1", "-sample", "2x2"], 0xC0,
         [(2, 2), (1, 1), (1, 1)], True),
        ("jpeg-arithmetic.jpg", ["-arithmetic"], 0xC9, [(2, 2), (1, 1), (1, 1)]),
    ]
    for name, args, sof, sampling, *dri in cases:
        path = os.path.join(out, name)
        run("cjpeg", "-quality", "60", *args, "-outfile", path, opaque)
        check_jpeg(path, sof, sampling, *dri)
    path = os.path.join(out, "jpeg-cmyk.jpg")
    run("convert", opaque, "-strip", "-colorspace", "CMYK", "-sampling-factor", "1x1",
        "-quality", "60", path)
    check_jpeg(path, 0xC0, full + [(1, 1)])
    if jpeg_markers(open(path, "rb").read())[3] is None:
        fail(path, "no Adobe marker")


# ---- GIF ---------------------------------------------------------------------------


def gif_frames(data):
    """[(interlaced, transparent)] for each image of the file."""
    if data[:6] not in (b"GIF87a", b"GIF89a"):
        return None
    flags = data[10]
    at = 13 + (3 << ((flags & 7) + 1) if flags & 0x80 else 0)
    frames, transparent = [], False
    while at < len(data):
        kind = data[at]
        if kind == 0x21:
            if data[at + 1] == 0xF9:
                transparent = bool(data[at + 3] & 1)
            at += 2
            while data[at]:
                at += data[at] + 1
            at += 1
        elif kind == 0x2C:
            local = data[at + 9]
            frames.append((bool(local & 0x40), transparent))
            at += 10 + (3 << ((local & 7) + 1) if local & 0x80 else 0) + 1
            while data[at]:
                at += data[at] + 1
            at += 1
            transparent = False
        else:
            break
    return frames


def make_gif(out, rgba, opaque, work):
    second = os.path.join(work, "second.png")
    run("convert", rgba, "-rotate", "90", second)
    cases = [
        ("gif-plain.gif", [opaque], [(False, False)]),
        ("gif-interlaced.gif", [opaque, "-interlace", "GIF"], [(True, False)]),
        ("gif-transparent.gif", [rgba, "-channel", "A", "-threshold", "50%", "+channel"],
         [(False, True)]),
        ("gif-animated.gif", ["-delay", "10", "-dispose", "Background", rgba, second,
                              "-channel", "A", "-threshold", "50%", "+channel", "-loop", "0"],
         [(False, True), (False, True)]),
    ]
    for name, args, frames in cases:
        path = os.path.join(out, name)
        run("convert", *args, path)
        got = gif_frames(open(path, "rb").read())
        if got != frames:
            fail(path, f"frames (interlaced, transparent) are {got}")


# ---- BMP (built here: every header and compression the reader takes) ----------------


def palette_of(pixels, limit):
    colours = []
    for p in pixels:
        if p[:3] not in colours:
            colours.append(p[:3])
    if len(colours) > limit:
        fail("bmp", f"{len(colours)} colours do not fit a palette of {limit}")
    return colours


def pack_rows(rows, bits):
    """Rows of values at `bits` each, every row padded to 4 bytes."""
    out = bytearray()
    for row in rows:
        line = bytearray()
        acc, used = 0, 0
        for v in row:
            acc = (acc << bits) | v
            used += bits
            while used >= 8:
                used -= 8
                line.append((acc >> used) & 0xFF)
        if used:
            line.append((acc << (8 - used)) & 0xFF)
        line += bytes(-len(line) % 4)
        out += line
    return bytes(out)


def rle(rows, bits):
    """RLE8 or RLE4: runs of three or more as encoded runs, stretches of shorter runs in
    absolute mode (or as encoded runs when shorter than three), each line ended."""
    out = bytearray()

    def encoded(count, value):
        out.extend([count, value if bits == 8 else value << 4 | value])

    def absolute(values):
        if len(values) < 3:
            for v in values:
                encoded(1, v)
            return
        if bits == 8:
            body = bytes(values)
        else:
            padded = values + [0] * (len(values) % 2)
            body = bytes(padded[i] << 4 | padded[i + 1] for i in range(0, len(padded), 2))
        out.extend(bytes([0, len(values)]) + body + bytes(len(body) % 2))

    for row in rows:
        stretch, x = [], 0
        while x < len(row):
            end = x
            while end < len(row) and row[end] == row[x] and end - x < 255:
                end += 1
            if end - x >= 3:
                absolute(stretch)
                stretch = []
                encoded(end - x, row[x])
            else:
                stretch += row[x:end]
                if len(stretch) >= 250:
                    absolute(stretch)
                    stretch = []
            x = end
        absolute(stretch)
        out.extend(b"\x00\x00")
    return bytes(out[:-2]) + b"\x00\x01"


def bmp_file(width, height, bits, pixel_data, palette=(), compression=0, header=40,
             masks=None, top_down=False):
    colour_table = b"".join(bytes([c[2], c[1], c[0], 0]) for c in palette)
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
        # The core header's colour table always holds 2^bits entries.
        padded = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
        colour_table = b"".join(bytes([c[2], c[1], c[0]]) for c in padded)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, -height if top_down else height, 1,
                           bits, compression, len(pixel_data), 2835, 2835, len(palette), 0)
        mask_bytes = struct.pack("<4I", *masks) if masks else b""
        if header == 40:
            info += mask_bytes[:12] if compression == 3 else b""
        else:
            info += mask_bytes.ljust(16, b"\0")
            info += b"sRGB" + bytes(36 + 12)  # colour space, endpoints, gamma
            if header == 124:
                info += struct.pack("<IIII", 4, 0, 0, 0)  # intent: perceptual
    offset = 14 + len(info) + len(colour_table)
    head = b"BM" + struct.pack("<IHHI", offset + len(pixel_data), 0, 0, offset)
    return head + info + colour_table + pixel_data


def make_bmp(out, rgba, opaque):
    small = raw_rgba(opaque, SMALL)
    small_alpha = raw_rgba(rgba, SMALL)
    big = raw_rgba(opaque, SIZE)
    colours = palette_of(big, 16)

    def rows(pixels, size, value, top_down=False):
        table = [[value(pixels[y * size + x]) for x in range(size)] for y in range(size)]
        return table if top_down else table[::-1]

    index = {c: i for i, c in enumerate(colours)}
    two = [(0, 0, 0), (255, 255, 255)]
    bgr = lambda p: (p[2], p[1], p[0])
    rgb555 = lambda p: ((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3)
    rgb565 = lambda p: ((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3)

    def bytes_of(table, fmt):
        out = bytearray()
        for row in table:
            line = b"".join(struct.pack(fmt, *v) if isinstance(v, tuple) else struct.pack(fmt, v)
                            for v in row)
            out += line + bytes(-len(line) % 4)
        return bytes(out)

    argb = lambda p: (p[3] << 24) | (p[0] << 16) | (p[1] << 8) | p[2]
    rgba_masks = (0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    s = SMALL
    files = {
        "bmp-1bit.bmp": bmp_file(s, s, 1, pack_rows(
            rows(small, s, lambda p: int(sum(p[:3]) > 384), False), 1), two),
        "bmp-4bit.bmp": bmp_file(s, s, 4, pack_rows(rows(small, s, lambda p: index[p[:3]]), 4),
                                 colours),
        "bmp-8bit.bmp": bmp_file(s, s, 8, pack_rows(rows(small, s, lambda p: index[p[:3]]), 8),
                                 colours),
        "bmp-os2-4bit.bmp": bmp_file(s, s, 4, pack_rows(
            rows(small, s, lambda p: index[p[:3]]), 4), colours, header=12),
        "bmp-rle4.bmp": bmp_file(SIZE, SIZE, 4, rle(rows(big, SIZE, lambda p: index[p[:3]]), 4),
                                 colours, compression=2),
        "bmp-rle8.bmp": bmp_file(SIZE, SIZE, 8, rle(rows(big, SIZE, lambda p: index[p[:3]]), 8),
                                 colours, compression=1),
        "bmp-16bit-555.bmp": bmp_file(s, s, 16, bytes_of(rows(small, s, rgb555), "<H")),
        "bmp-16bit-565-bitfields.bmp": bmp_file(s, s, 16, bytes_of(rows(small, s, rgb565), "<H"),
                                                compression=3, masks=(0xF800, 0x07E0, 0x001F, 0)),
        "bmp-24bit.bmp": bmp_file(s, s, 24, bytes_of(rows(small, s, bgr), "<BBB")),
        "bmp-24bit-top-down.bmp": bmp_file(s, s, 24, bytes_of(rows(small, s, bgr, True), "<BBB"),
                                           top_down=True),
        "bmp-32bit.bmp": bmp_file(s, s, 32, bytes_of(rows(small, s, lambda p: argb(p) & 0xFFFFFF),
                                                     "<I")),
        "bmp-32bit-bitfields.bmp": bmp_file(s, s, 32, bytes_of(
            rows(small, s, lambda p: argb(p) & 0xFFFFFF), "<I"), compression=3,
            masks=rgba_masks[:3] + (0,)),
        "bmp-v4-alpha.bmp": bmp_file(s, s, 32, bytes_of(rows(small_alpha, s, argb), "<I"),
                                     compression=3, header=108, masks=rgba_masks),
        "bmp-v5-alpha.bmp": bmp_file(s, s, 32, bytes_of(rows(small_alpha, s, argb), "<I"),
                                     compression=3, header=124, masks=rgba_masks),
    }
    for name, data in files.items():
        path = os.path.join(out, name)
        with open(path, "wb") as f:
            f.write(data)
        described = run("file", "-b", path).decode()
        kind = {12: "OS/2 1.x", 40: "Windows 3.x", 108: "Windows 95/NT4",
                124: "Windows 98/2000"}[struct.unpack("<I", data[14:18])[0]]
        if "PC bitmap" not in described or kind not in described:
            fail(path, f"file says: {described.strip()}")


# ---- TIFF --------------------------------------------------------------------------


def make_tiff(out, rgba, opaque, work):
    small = os.path.join(work, "small.ppm")
    run("convert", opaque, "-sample", f"{SMALL}x{SMALL}!", small)
    small_tiff = os.path.join(work, "small.tif")
    run("convert", small, "-strip", "-compress", "none", small_tiff)
    rgb = os.path.join(work, "rgb.tif")
    run("convert", opaque, "-strip", "-compress", "none", rgb)
    alpha = os.path.join(work, "alpha.tif")
    run("convert", rgba, "-strip", "-compress", "none", alpha)
    strip = ["-strip"]
    # (name, how it is made, lines tiffinfo must print)
    cases = [
        ("tiff-strips-none.tif", ["convert", small, *strip, "-compress", "none",
                                  "-define", "tiff:rows-per-strip=4"],
         ["Compression Scheme: None", "Rows/Strip: 4"]),
        ("tiff-strips-lzw.tif", ["tiffcp", "-c", "lzw:2", "-r", "16", rgb],
         ["Compression Scheme: LZW", "Rows/Strip: 16", "Predictor: horizontal differencing"]),
        ("tiff-strips-deflate.tif", ["tiffcp", "-c", "zip", "-r", "32", rgb],
         ["Compression Scheme: AdobeDeflate"]),
        ("tiff-strips-packbits.tif", ["tiffcp", "-c", "packbits", "-r", "8", small_tiff],
         ["Compression Scheme: PackBits"]),
        ("tiff-strips-jpeg.tif", ["tiffcp", "-c", "jpeg:50", "-r", "16", rgb],
         ["Compression Scheme: JPEG", "Photometric Interpretation: YCbCr"]),
        ("tiff-strips-jpeg-rgb.tif", ["tiffcp", "-c", "jpeg:r:50", "-r", "16", rgb],
         ["Compression Scheme: JPEG", "Photometric Interpretation: RGB"]),
        ("tiff-tiles-lzw.tif", ["tiffcp", "-t", "-w", "32", "-l", "32", "-c", "lzw", rgb],
         ["Tile Width: 32 Tile Length: 32", "Compression Scheme: LZW"]),
        ("tiff-tiles-jpeg.tif", ["tiffcp", "-t", "-w", "32", "-l", "32", "-c", "jpeg:50", rgb],
         ["Tile Width: 32 Tile Length: 32", "Compression Scheme: JPEG"]),
        ("tiff-planar-lzw.tif", ["tiffcp", "-p", "separate", "-c", "lzw", "-r", "32", rgb],
         ["Planar Configuration: separate image planes"]),
        ("tiff-planar-tiles.tif", ["tiffcp", "-p", "separate", "-t", "-w", "32", "-l", "32",
                                   "-c", "zip", alpha],
         ["Planar Configuration: separate image planes", "Tile Width: 32"]),
        ("tiff-16bit.tif", ["convert", rgba, *strip, "-depth", "16", "-compress", "zip"],
         ["Bits/Sample: 16", "Extra Samples: 1<unassoc-alpha>"]),
        ("tiff-16bit-rgb.tif", ["convert", opaque, *strip, "-depth", "16", "-compress", "lzw"],
         ["Bits/Sample: 16", "Photometric Interpretation: RGB color"]),
        ("tiff-palette.tif", ["convert", opaque, *strip, "-type", "Palette", "-compress", "lzw"],
         ["Photometric Interpretation: palette color"]),
        ("tiff-grey.tif", ["convert", opaque, *strip, "-colorspace", "Gray", "-depth", "8",
                           "-compress", "RLE"],
         ["Photometric Interpretation: min-is-black", "Bits/Sample: 8",
          "Compression Scheme: PackBits"]),
        ("tiff-bilevel.tif", ["convert", opaque, *strip, "-monochrome", "-depth", "1", "-compress", "none"],
         ["Bits/Sample: 1"]),
        ("tiff-alpha-unassociated.tif", ["convert", rgba, *strip, "-define",
                                         "tiff:alpha=unassociated", "-compress", "lzw"],
         ["Extra Samples: 1<unassoc-alpha>"]),
        ("tiff-alpha-associated.tif", ["convert", rgba, *strip, "-define",
                                       "tiff:alpha=associated", "-compress", "lzw"],
         ["Extra Samples: 1<assoc-alpha>"]),
        ("tiff-cmyk.tif", ["convert", opaque, *strip, "-colorspace", "CMYK", "-compress",
                           "lzw"], ["Photometric Interpretation: separated"]),
    ]
    for name, command, lines in cases:
        path = os.path.join(out, name)
        run(*command, path)
        info = run("tiffinfo", path).decode()
        for line in lines:
            if line not in info:
                fail(path, f"tiffinfo does not say '{line}':\n{info}")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "seeds")
    with tempfile.TemporaryDirectory() as work:
        rgba, opaque = base_pictures(work)
        for kind, make in [("png", lambda d: make_png(d, rgba, opaque)),
                           ("jpeg", lambda d: make_jpeg(d, opaque)),
                           ("gif", lambda d: make_gif(d, rgba, opaque, work)),
                           ("bmp", lambda d: make_bmp(d, rgba, opaque)),
                           ("tiff", lambda d: make_tiff(d, rgba, opaque, work))]:
            folder = os.path.join(out, kind)
            os.makedirs(folder, exist_ok=True)
            make(folder)
    for kind in sorted(os.listdir(out)):
        for name in sorted(os.listdir(os.path.join(out, kind))):
            run("identify", os.path.join(out, kind, name))  # a second reader takes it too
            print(f"{os.path.getsize(os.path.join(out, kind, name)):6d}  {kind}/{name}")


if __name__ == "__main__":
    main()
