#!/usr/bin/env python3
# SPDX-License-Identifier: Zlib
# Draws the framework's built-in logo, a parchment "Q" whose tail is an ink-blue quill, and
# writes it as a 256 x 256 RGBA PNG with a transparent background. Only the standard library is
# used, so the picture can be regenerated anywhere: python3 tools/make_logo.py <output.png>
# Edges are anti-aliased by supersampling each pixel on a 4 x 4 grid.
import math
import struct
import sys
import zlib

SIZE = 256
SUBSAMPLES = 4

# The ring of the "Q".
RING_CENTRE = (122.0, 116.0)
RING_OUTER = 98.0
RING_INNER = 60.0

# The quill runs from its feathered tip inside the ring to the nib at the lower right.
QUILL_TIP = (96.0, 80.0)
QUILL_NIB = (242.0, 240.0)
VANE_END = 0.64  # share of the quill's length covered by the feathered vane
NIB_START = 0.83  # where the bare shaft turns into the nib
GAP = 5.0  # clear space cut into the ring around the quill, in pixels

AXIS_X = QUILL_NIB[0] - QUILL_TIP[0]
AXIS_Y = QUILL_NIB[1] - QUILL_TIP[1]
LENGTH = math.hypot(AXIS_X, AXIS_Y)
DIR = (AXIS_X / LENGTH, AXIS_Y / LENGTH)


def quill_frame(x, y):
    """Distance along the quill (0 at the tip, 1 at the nib) and signed distance across it.

    The quill bows gently, so the across distance is measured from a curved centre line."""
    dx, dy = x - QUILL_TIP[0], y - QUILL_TIP[1]
    t = (dx * DIR[0] + dy * DIR[1]) / LENGTH
    u = dx * DIR[1] - dy * DIR[0]
    u -= 9.0 * math.sin(math.pi * min(max(t, 0.0), 1.0))
    return t, u


def vane_half_widths(t):
    """Widths of the two sides of the vane; the outer side is broader, as on a real feather."""
    if t < 0.0 or t > VANE_END:
        return 0.0, 0.0
    x = t / VANE_END
    profile = math.sin(math.pi * (x ** 0.75)) ** 0.8
    return 30.0 * profile, 19.0 * profile


def in_notch(t, u, outer):
    """Two slanted cuts in the vane edges, the split barbs that make it read as a feather."""
    s = t * LENGTH
    for centre, side in ((0.22 * LENGTH, 1.0), (0.40 * LENGTH, -1.0), (0.50 * LENGTH, 1.0)):
        if side * u <= 0.0:
            continue
        across = side * u
        # The cut slopes back towards the tip as it goes from the edge in to the shaft.
        along = s - centre + 0.55 * (outer - across)
        if across > 7.0 and abs(along) < 1.1 + 0.06 * across:
            return True
    return False


def feather_parts(x, y, grow):
    """Which part of the quill covers (x, y): 'vane-outer', 'vane-inner', 'shaft', 'nib',
    'slit' or None. grow widens every part, for the clear space around it."""
    t, u = quill_frame(x, y)
    if t < -grow / LENGTH or t > 1.0:
        return None
    # Nib: shoulders that taper to the point, with the ink slit down the middle.
    if t >= NIB_START:
        n = (t - NIB_START) / (1.0 - NIB_START)
        half = 6.5 * (1.0 - n) ** 0.9 if n > 0.25 else 6.5
        if abs(u) <= half + grow:
            if grow == 0.0 and n > 0.45 and abs(u) < 0.9:
                return "slit"
            return "nib"
        return None
    shaft = 1.6 + 2.6 * max(t, 0.0)
    if abs(u) <= shaft + grow and t >= 0.02:
        return "shaft"
    outer, inner = vane_half_widths(t)
    if outer == 0.0 and grow == 0.0:
        return None
    if -inner - grow <= u <= outer + grow:
        if grow == 0.0 and in_notch(t, u, outer if u > 0 else inner):
            return None
        return "vane-outer" if u > 0 else "vane-inner"
    return None


def in_ring(x, y):
    r = math.hypot(x - RING_CENTRE[0], y - RING_CENTRE[1])
    return RING_INNER <= r <= RING_OUTER


def mix(a, b, k):
    return tuple(a[i] + (b[i] - a[i]) * k for i in range(3))


COLOURS = {
    "vane-outer": ((86, 122, 240), (46, 78, 196)),
    "vane-inner": ((48, 70, 170), (30, 46, 128)),
    "shaft": ((250, 200, 92), (226, 160, 48)),
    "nib": ((240, 176, 60), (196, 124, 30)),
    "slit": ((60, 36, 10), (60, 36, 10)),
}
RING_TOP = (255, 246, 224)
RING_BOTTOM = (228, 206, 160)


def sample(x, y):
    """Colour (r, g, b) of the picture at (x, y), or None where it is transparent."""
    part = feather_parts(x, y, 0.0)
    if part is not None:
        t, _ = quill_frame(x, y)
        top, bottom = COLOURS[part]
        return mix(top, bottom, min(max(t, 0.0), 1.0))
    if in_ring(x, y) and feather_parts(x, y, GAP) is None:
        k = (y - (RING_CENTRE[1] - RING_OUTER)) / (2.0 * RING_OUTER)
        return mix(RING_TOP, RING_BOTTOM, min(max(k, 0.0), 1.0))
    return None


def render():
    rows = []
    step = 1.0 / SUBSAMPLES
    for py in range(SIZE):
        row = bytearray()
        for px in range(SIZE):
            red = green = blue = 0.0
            covered = 0
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    colour = sample(px + (sx + 0.5) * step, py + (sy + 0.5) * step)
                    if colour is not None:
                        red += colour[0]
                        green += colour[1]
                        blue += colour[2]
                        covered += 1
            if covered == 0:
                row += bytes(4)
                continue
            alpha = covered / float(SUBSAMPLES * SUBSAMPLES)
            row += bytes((round(red / covered), round(green / covered), round(blue / covered),
                          round(alpha * 255)))
        rows.append(bytes(row))
    return rows


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(rows):
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA, no interlace
    raw = b"".join(b"\x00" + row for row in rows)  # filter "none" on every row
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_logo.py <output.png>")
    with open(sys.argv[1], "wb") as output:
        output.write(encode_png(render()))


if __name__ == "__main__":
    main()
