#!/usr/bin/env python3
"""Turns Pelto's pixel maps into the resource images the resource compiler takes.

    make_images.py OUTDIR MAP...

A map is a text file: lines starting with "#" are comments, every other line is one row of
pixels, one letter per pixel in the 16 standard colours (see PALETTE). "NAME.glyph" becomes
NAME.bmp, 16 colours, the picture and its greyed form side by side (the greyed one made here
as a disabled button shows it); "NAME.icon" becomes NAME.ico, 16 colours, opaque.
"""
import os
import struct
import sys

# The 16 standard colours, in their usual order; "." is olive too, the glyphs' transparent colour.
PALETTE = [
    ("k", (0x00, 0x00, 0x00)), ("m", (0x80, 0x00, 0x00)), ("g", (0x00, 0x80, 0x00)), ("o", (0x80, 0x80, 0x00)),
    ("n", (0x00, 0x00, 0x80)), ("p", (0x80, 0x00, 0x80)), ("t", (0x00, 0x80, 0x80)), ("s", (0xC0, 0xC0, 0xC0)),
    ("d", (0x80, 0x80, 0x80)), ("r", (0xFF, 0x00, 0x00)), ("l", (0x00, 0xFF, 0x00)), ("y", (0xFF, 0xFF, 0x00)),
    ("b", (0x00, 0x00, 0xFF)), ("f", (0xFF, 0x00, 0xFF)), ("a", (0x00, 0xFF, 0xFF)), ("w", (0xFF, 0xFF, 0xFF)),
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}
INDEX["."] = INDEX["o"]
OLIVE, DARK_GREY, WHITE = INDEX["o"], INDEX["d"], INDEX["w"]


def read_map(path):
    rows = [line.rstrip("\n") for line in open(path, encoding="ascii") if line.strip() and not line.startswith("#")]
    width = len(rows[0])
    for n, row in enumerate(rows):
        if len(row) != width:
            sys.exit(f"{path}: row {n + 1} is {len(row)} pixels wide, not {width}")
        for c in row:
            if c not in INDEX:
                sys.exit(f"{path}: unknown colour letter {c!r} in row {n + 1}")
    return [[INDEX[c] for c in row] for row in rows]


def greyed(pixels):
    """Dark pixels become grey with a white shadow below right; light ones vanish."""
    h, w = len(pixels), len(pixels[0])
    out = [[OLIVE] * w for _ in range(h)]
    dark = [[p != OLIVE and sum(PALETTE[p][1]) < 3 * 0xC0 for p in row] for row in pixels]
    for y in range(h):
        for x in range(w):
            if dark[y][x] and y + 1 < h and x + 1 < w:
                out[y + 1][x + 1] = WHITE
    for y in range(h):
        for x in range(w):
            if dark[y][x]:
                out[y][x] = DARK_GREY
    return out


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)


def pixel_bytes(pixels):
    """4 bits a pixel, rows bottom-up, each padded to 4 bytes."""
    data = b""
    for row in reversed(pixels):
        padded = row + [0] * (len(row) % 2)
        line = bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
        data += line + b"\0" * (-len(line) % 4)
    return data


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 16)


def write_bmp(path, pixels):
    bits = pixel_bytes(pixels)
    offset = 14 + 40 + 64
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info_header(len(pixels[0]), len(pixels), len(bits)) + palette_bytes() + bits)


def write_ico(path, pixels):
    w, h = len(pixels[0]), len(pixels)
    xor = pixel_bytes(pixels)
    mask_row = ((w + 31) // 32) * 4
    mask = b"\0" * (mask_row * h)  # opaque
    image = info_header(w, 2 * h, len(xor) + len(mask)) + palette_bytes() + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w % 256, h % 256, 16, 0, 1, 4, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


def main():
    out_dir, maps = sys.argv[1], sys.argv[2:]
    os.makedirs(out_dir, exist_ok=True)
    for path in maps:
        name, kind = os.path.splitext(os.path.basename(path))
        pixels = read_map(path)
        if kind == ".glyph":
            if pixels[-1][0] != OLIVE:
                sys.exit(f"{path}: the bottom-left pixel must be olive, the transparent colour")
            grey = greyed(pixels)
            write_bmp(os.path.join(out_dir, name + ".bmp"), [a + b for a, b in zip(pixels, grey)])
        elif kind == ".icon":
            write_ico(os.path.join(out_dir, name + ".ico"), pixels)
        else:
            sys.exit(f"{path}: a map is a .glyph or an .icon")


if __name__ == "__main__":
    main()
