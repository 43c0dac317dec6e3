#!/usr/bin/env python3
# SPDX-License-Identifier: Zlib
# Writes a small TrueType font for the font loader's fuzzer to start from: a box as the missing
# glyph, "A" and "V" as triangles (kerned as a pair), "o" with curves, and "W" as a compound glyph
# of two "V"s. Every table the checked reader needs is there, in a few hundred bytes, so each run
# is quick. Standard library only:  make_small_font.py OUTPUT
import struct
import sys


def simple(contours):
    """A glyph of contours, each a list of (x, y, on_curve); coordinates stored as 16-bit deltas."""
    points = [p for c in contours for p in c]
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    data = struct.pack(">hhhhh", len(contours), min(xs), min(ys), max(xs), max(ys))
    end = -1
    for c in contours:
        end += len(c)
        data += struct.pack(">H", end)
    data += struct.pack(">H", 0) + bytes(1 if p[2] else 0 for p in points)
    for axis in (0, 1):
        last = 0
        for p in points:
            data += struct.pack(">h", p[axis] - last)
            last = p[axis]
    return data


def compound(parts):
    data = struct.pack(">hhhhh", -1, 0, 0, 1000, 700)
    for i, (glyph, dx, dy) in enumerate(parts):
        flags = 0x0001 | 0x0002 | (0x0020 if i + 1 < len(parts) else 0)
        data += struct.pack(">HHhh", flags, glyph, dx, dy)
    return data


GLYPHS = [
    simple([[(50, 0, 1), (50, 700, 1), (450, 700, 1), (450, 0, 1)],
            [(100, 50, 1), (400, 50, 1), (400, 650, 1), (100, 650, 1)]]),
    simple([[(0, 0, 1), (300, 700, 1), (600, 0, 1)]]),
    simple([[(0, 700, 1), (600, 700, 1), (300, 0, 1)]]),
    simple([[(250, 0, 1), (500, 0, 0), (500, 250, 1), (500, 500, 0), (250, 500, 1),
             (0, 500, 0), (0, 250, 1), (0, 0, 0)]]),
    compound([(2, 0, 0), (2, 450, 0)]),
]
ADVANCES = [500, 600, 600, 500, 1050]
CHARACTERS = {ord("A"): 1, ord("V"): 2, ord("o"): 3, ord("W"): 4}


def tables():
    glyf, loca = b"", []
    for g in GLYPHS:
        loca.append(len(glyf) // 2)
        glyf += g + b"\0" * (len(g) % 2)
    loca.append(len(glyf) // 2)
    count = len(GLYPHS)
    head = struct.pack(">IIIIHH16xhhhhHHhhh", 0x10000, 0x10000, 0, 0x5F0F3CF5, 0, 1000,
                       0, -200, 1050, 800, 0, 8, 2, 0, 0)
    hhea = struct.pack(">IhhhHhhhhhh8xhH", 0x10000, 800, -200, 0, 1050, 0, 0, 1050, 1, 0, 0,
                       0, count)
    segments = sorted(CHARACTERS.items()) + [(0xFFFF, 0)]
    ends = b"".join(struct.pack(">H", c) for c, _ in segments)
    deltas = b"".join(struct.pack(">H", (g - c) & 0xFFFF if c != 0xFFFF else 1)
                      for c, g in segments)
    body = ends + b"\0\0" + ends + deltas + b"\0\0" * len(segments)
    subtable = struct.pack(">HHHHHHH", 4, 14 + len(body), 0, 2 * len(segments), 0, 0, 0) + body
    cmap = struct.pack(">HHHHI", 0, 1, 3, 1, 12) + subtable
    pairs = [(1, 2, -80), (2, 1, -80)]
    kern_body = struct.pack(">HHHH", len(pairs), 6, 0, 6) + b"".join(
        struct.pack(">HHh", *p) for p in pairs)
    kern = struct.pack(">HHHHH", 0, 1, 0, 6 + len(kern_body), 1) + kern_body
    return {
        b"cmap": cmap, b"glyf": glyf, b"head": head, b"hhea": hhea,
        b"hmtx": b"".join(struct.pack(">Hh", a, 0) for a in ADVANCES), b"kern": kern,
        b"loca": b"".join(struct.pack(">H", o) for o in loca),
        b"maxp": struct.pack(">IH", 0x5000, count),
    }


def font():
    parts = tables()
    offset = 12 + 16 * len(parts)
    directory, data = b"", b""
    for tag, table in sorted(parts.items()):
        directory += struct.pack(">4sIII", tag, 0, offset + len(data), len(table))
        data += table + b"\0" * (-len(table) % 4)
    return struct.pack(">IHHHH", 0x10000, len(parts), 0, 0, 0) + directory + data


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(font())
