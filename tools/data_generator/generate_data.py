#!/usr/bin/env python3
# SPDX-License-Identifier: Zlib
# Writes the game's data files: the prototyping sprite sheet (a PNG of white shapes and its JSON
# description) and the explosion sounds with their audio event table. Standard library only, with
# fixed random seeds, so running it again reproduces the committed files byte for byte.
# It draws nothing the game does not read and writes no other file; run it from anywhere:
#   python3 tools/data_generator/generate_data.py [repository-root]
# With --icons it draws only the game's icon, from the game's own look (the azure disc among white
# circles), into a folder of the build's: PNGs for desktop menus and an .ico for the Windows
# program. The build runs it, so no icon picture is committed:
#   python3 tools/data_generator/generate_data.py --icons OUTPUT-FOLDER
import json
import math
import os
import random
import struct
import sys
import zlib

TEXTURE_SIZE = 512
CELL = 128  # default frame size of the sheet
SMALL = 64  # frames of the spinner grid

SHEET_IMAGE_PATH = "data/prototyping_sheet.png"
SHEET_JSON_PATH = "data/prototyping_sheet.json"
EVENTS_JSON_PATH = "data/audio/audio_events.json"


# ---------------------------------------------------------------------------------------------
# Image


class Canvas:
    """An RGBA canvas of white shapes: each pixel keeps only its coverage (the alpha)."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.alpha = bytearray(width * height)

    def paint(self, left, top, size, coverage):
        """Fills one size x size frame at (left, top) from coverage(x, y) in frame pixels, where
        (x, y) is a pixel centre measured from the frame's top-left corner."""
        for row in range(size):
            base = (top + row) * self.width + left
            for column in range(size):
                value = coverage(column + 0.5, row + 0.5)
                if value > 0.0:
                    level = int(round(min(1.0, value) * 255.0))
                    if level > self.alpha[base + column]:
                        self.alpha[base + column] = level

    def png_bytes(self):
        rows = bytearray()
        for row in range(self.height):
            rows.append(0)  # filter type None
            for column in range(self.width):
                rows += bytes((255, 255, 255, self.alpha[row * self.width + column]))
        return png_file(self.width, self.height, rows)


def png_file(width, height, rows):
    """An 8-bit RGBA PNG of the given filtered rows (each a 0 filter byte and width pixels)."""

    def chunk(kind, payload):
        body = kind + payload
        return (struct.pack(">I", len(payload)) + body +
                struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def edge_coverage(signed_distance):
    """Anti-aliasing from a signed distance in pixels (positive inside): a pixel straddling the
    edge is covered by about the part of it that lies inside."""
    return max(0.0, min(1.0, signed_distance + 0.5))


def disc(cx, cy, radius):
    return lambda x, y: edge_coverage(radius - math.hypot(x - cx, y - cy))


def ring(cx, cy, outer, thickness, strength=1.0):
    def coverage(x, y):
        d = math.hypot(x - cx, y - cy)
        return strength * edge_coverage(min(outer - d, d - (outer - thickness)))

    return coverage


def polygon(points):
    """Coverage of a convex polygon given counter-clockwise in screen terms (y down) or
    clockwise: the signed distance is the smallest distance to the edges' inner sides."""
    area = 0.0
    for i, (x0, y0) in enumerate(points):
        x1, y1 = points[(i + 1) % len(points)]
        area += x0 * y1 - x1 * y0
    orientation = 1.0 if area > 0 else -1.0
    edges = []
    for i, (x0, y0) in enumerate(points):
        x1, y1 = points[(i + 1) % len(points)]
        length = math.hypot(x1 - x0, y1 - y0)
        # Inward normal of the edge for the polygon's winding.
        nx, ny = -(y1 - y0) / length * orientation, (x1 - x0) / length * orientation
        edges.append((nx, ny, -(nx * x0 + ny * y0)))

    def coverage(x, y):
        return edge_coverage(min(nx * x + ny * y + c for nx, ny, c in edges))

    return coverage


def regular_polygon(cx, cy, radius, sides, rotation_degrees):
    points = []
    for k in range(sides):
        angle = math.radians(rotation_degrees + 360.0 * k / sides)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return polygon(points)


def union(*shapes):
    return lambda x, y: max(shape(x, y) for shape in shapes)


def outlined(shape_outer, shape_inner):
    return lambda x, y: max(0.0, shape_outer(x, y) - shape_inner(x, y))


def build_sheet():
    """Draws the shapes and returns the canvas and the sheet description."""
    canvas = Canvas(TEXTURE_SIZE, TEXTURE_SIZE)
    centre = CELL / 2.0
    # The game's circle: a disc exactly 128 pixels across filling its 128 x 128 frame, so that
    # radius 64 at scale 1 is the circle that is drawn.
    shapes = [
        ("solid_circle", 0, 0, disc(centre, centre, 64.0)),
        ("outline_circle", CELL, 0, ring(centre, centre, 62.0, 8.0)),
        ("square", 2 * CELL, 0, polygon([(8, 8), (120, 8), (120, 120), (8, 120)])),
        ("triangle", 3 * CELL, 0, regular_polygon(centre, centre + 12.0, 66.0, 3, -90.0)),
        ("diamond", 0, CELL, regular_polygon(centre, centre, 60.0, 4, -90.0)),
        ("plus", CELL, CELL,
         union(polygon([(48, 10), (80, 10), (80, 118), (48, 118)]),
               polygon([(10, 48), (118, 48), (118, 80), (10, 80)]))),
        ("outline_square", 2 * CELL, CELL,
         outlined(polygon([(8, 8), (120, 8), (120, 120), (8, 120)]),
                  polygon([(16, 16), (112, 16), (112, 112), (16, 112)]))),
    ]
    sprites = []
    for name, left, top, coverage in shapes:
        canvas.paint(left, top, CELL, coverage)
        sprites.append({"name": name, "x": left, "y": top})

    # Spinner: four 64 x 64 frames at (384, 128), a dot going round a faint track.
    spinner_left, spinner_top = 3 * CELL, CELL
    for k in range(4):
        left = spinner_left + (k % 2) * SMALL
        top = spinner_top + (k // 2) * SMALL
        angle = math.radians(-90.0 + 90.0 * k)
        dot = disc(32.0 + 20.0 * math.cos(angle), 32.0 + 20.0 * math.sin(angle), 9.0)
        track = ring(32.0, 32.0, 22.0, 4.0, 0.35)
        canvas.paint(left, top, SMALL, union(dot, track))
        sprites.append({"name": "spinner_%d" % k, "x": left, "y": top,
                        "width": SMALL, "height": SMALL})

    # Pulsing ring: eight 128 x 128 frames in a 4 x 2 grid from (0, 256), the ring widening
    # and thinning out.
    pulse_top = 2 * CELL
    for k in range(8):
        left = (k % 4) * CELL
        top = pulse_top + (k // 4) * CELL
        outer = 18.0 + 6.3 * k
        canvas.paint(left, top, CELL, ring(centre, centre, outer, 12.0 - k, 1.0 - 0.08 * k))
        sprites.append({"name": "pulse_%d" % k, "x": left, "y": top})
    # A name list stored with the first pulse frame: the frames of the pulse by name.
    sprites[-8]["animations"] = ["pulse_%d" % k for k in range(8)]

    animations = [
        {"name": "shapes",
         "frames": ["solid_circle", "outline_circle", "square", "triangle", "diamond", "plus",
                    "outline_square"]},
        {"name": "pulse",
         "frames": {"width": CELL, "height": CELL, "locationY": pulse_top, "start": 0, "count": 8}},
        {"name": "pulse_bounce",
         "frames": {"width": CELL, "height": CELL, "locationY": pulse_top,
                    "frames": [0, 1, 2, 3, 4, 5, 6, 7, 6, 5, 4, 3, 2, 1]}},
        {"name": "spinner",
         "frames": {"width": SMALL, "height": SMALL, "locationX": spinner_left,
                    "locationY": spinner_top, "start": 0, "count": 4}},
    ]
    sheet = {
        "texture": SHEET_IMAGE_PATH,
        "sprite_width": CELL,
        "sprite_height": CELL,
        "sprites": sprites,
        "animations": animations,
    }
    return canvas, sheet


# ---------------------------------------------------------------------------------------------
# Icon

AZURE = (0x00, 0xAA, 0xFF)  # the player's colour in the game
WHITE = (0xFF, 0xFF, 0xFF)
NIGHT = (0x0B, 0x10, 0x1A)  # a dark backdrop, near the game's black window
ICON_SIZES = (16, 32, 48, 256)  # in the .ico; 48 and 256 also as hicolor PNGs
HICOLOR_SIZES = (48, 256)


class ColourCanvas:
    """An RGBA canvas on which coloured shapes are laid one over another, edges anti-aliased."""

    def __init__(self, size):
        self.size = size
        self.pixels = [(0.0, 0.0, 0.0, 0.0)] * (size * size)  # straight colour and alpha, 0..1

    def paint(self, colour, coverage):
        """Lays `colour` over the canvas wherever coverage(x, y) (pixel centres) is above 0."""
        red, green, blue = (channel / 255.0 for channel in colour)
        for row in range(self.size):
            for column in range(self.size):
                alpha = min(1.0, coverage(column + 0.5, row + 0.5))
                if alpha <= 0.0:
                    continue
                index = row * self.size + column
                r, g, b, a = self.pixels[index]
                below = a * (1.0 - alpha)
                total = alpha + below
                self.pixels[index] = ((red * alpha + r * below) / total,
                                      (green * alpha + g * below) / total,
                                      (blue * alpha + b * below) / total, total)

    def png_bytes(self):
        rows = bytearray()
        for row in range(self.size):
            rows.append(0)  # filter type None
            for pixel in self.pixels[row * self.size:(row + 1) * self.size]:
                rows += bytes(int(round(channel * 255.0)) for channel in pixel)
        return png_file(self.size, self.size, rows)


def rounded_square(left, top, side, corner):
    """Coverage of a square with rounded corners, from the signed distance to its outline."""
    half = side / 2.0
    cx, cy = left + half, top + half

    def coverage(x, y):
        qx = abs(x - cx) - (half - corner)
        qy = abs(y - cy) - (half - corner)
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - corner
        return edge_coverage(-outside)

    return coverage


def draw_icon(size):
    """The game at a glance: the azure disc the player steers, and white circles flying past it,
    on a dark rounded square. Drawn in fractions of the side so every size is the same picture."""
    canvas = ColourCanvas(size)
    margin = size / 32.0
    canvas.paint(NIGHT, rounded_square(margin, margin, size - 2.0 * margin, size * 0.18))
    canvas.paint(AZURE, disc(size * 0.40, size * 0.60, size * 0.25))
    for x, y, radius in ((0.78, 0.29, 0.095), (0.55, 0.19, 0.06), (0.83, 0.66, 0.075)):
        canvas.paint(WHITE, disc(size * x, size * y, size * radius))
    return canvas.png_bytes()


def ico_bytes(pngs):
    """A Windows .ico holding PNG images (one per size, smallest first), as windres reads it."""
    header = struct.pack("<HHH", 0, 1, len(pngs))
    offset = len(header) + 16 * len(pngs)
    entries, images = b"", b""
    for size, png in pngs:
        side = size if size < 256 else 0  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(png), offset)
        images += png
        offset += len(png)
    return header + entries + images


def write_icons(folder):
    pngs = [(size, draw_icon(size)) for size in ICON_SIZES]
    for size, png in pngs:
        if size in HICOLOR_SIZES:
            write(folder, "cinderpath2_%d.png" % size, png)
    write(folder, "cinderpath2.ico", ico_bytes(pngs))


# ---------------------------------------------------------------------------------------------
# Sound

SAMPLE_RATE = 22050


def explosion(seed, duration, brightness, decay, thump_hz):
    """A noise burst: white noise through a one-pole low-pass whose cutoff falls from
    `brightness` Hz towards 120 Hz (the darkening tail), under a 4 ms attack and an exponential
    decay, plus a low sine thump that drops in pitch. Returns 16-bit samples."""
    rng = random.Random(seed)
    count = int(SAMPLE_RATE * duration)
    samples = []
    low_pass = 0.0
    second_pass = 0.0
    phase = 0.0
    for n in range(count):
        t = n / SAMPLE_RATE
        cutoff = 120.0 + (brightness - 120.0) * math.exp(-t * 6.0)
        alpha = 1.0 - math.exp(-2.0 * math.pi * cutoff / SAMPLE_RATE)
        low_pass += alpha * (rng.uniform(-1.0, 1.0) - low_pass)
        second_pass += alpha * (low_pass - second_pass)
        attack = min(1.0, t / 0.004)
        envelope = attack * math.exp(-t * decay)
        noise = second_pass * envelope * 2.2
        frequency = thump_hz * (0.45 + 0.55 * math.exp(-t * 9.0))
        phase += 2.0 * math.pi * frequency / SAMPLE_RATE
        thump = math.sin(phase) * attack * math.exp(-t * 11.0) * 0.7
        # The last 30 ms fade to silence so the sound never ends on a click.
        tail = min(1.0, (duration - t) / 0.03)
        samples.append((noise + thump) * tail)
    peak = max(abs(s) for s in samples) or 1.0
    return [int(round(s / peak * 0.9 * 32767.0)) for s in samples]


def wav_bytes(samples):
    """Canonical 44-byte-header PCM WAV: RIFF, a 16-byte fmt chunk, then the data chunk."""
    data = struct.pack("<%dh" % len(samples), *samples)
    channels, bits = 1, 16
    block_align = channels * bits // 8
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1,
                         channels, SAMPLE_RATE, SAMPLE_RATE * block_align, block_align, bits,
                         b"data", len(data))
    return header + data


SOUNDS = [
    # file name, seed, seconds, brightness (Hz), decay (1/s), thump (Hz)
    ("explosion_1.wav", 1101, 0.85, 7000.0, 5.0, 95.0),
    ("explosion_2.wav", 2202, 0.60, 9500.0, 7.5, 120.0),
    ("explosion_3.wav", 3303, 0.95, 4500.0, 4.2, 70.0),
]


def build_event_table():
    # All elements of "file" are objects: the JSON reader reports arrays of mixed kinds.
    files = [{"name": "data/audio/" + SOUNDS[0][0]}, {"name": "data/audio/" + SOUNDS[1][0]},
             # The deep one keeps to the lower pitches so it stays a rumble.
             {"name": "data/audio/" + SOUNDS[2][0], "min_pitch": 0.8, "max_pitch": 1.0}]
    return {
        "audio_events": [
            {"name": "explosion", "file": files, "looping": False,
             "volume": 0.9, "min_volume": 0.7, "max_volume": 1.0,
             "pitch": 1.0, "min_pitch": 0.85, "max_pitch": 1.15},
        ]
    }


# ---------------------------------------------------------------------------------------------


def write(root, relative_path, content):
    path = os.path.join(root, relative_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as stream:
        stream.write(content)
    print("wrote %s (%d bytes)" % (relative_path, len(content)))


def as_json(value):
    # json writes Python floats with a decimal point (1.0), which the loaders need to see a
    # float rather than an integer.
    return (json.dumps(value, indent=2) + "\n").encode("utf-8")


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--icons":
        write_icons(sys.argv[2])
        return
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(here, "..", ".."))
    canvas, sheet = build_sheet()
    write(root, SHEET_IMAGE_PATH, canvas.png_bytes())
    write(root, SHEET_JSON_PATH, as_json(sheet))
    for name, seed, duration, brightness, decay, thump in SOUNDS:
        write(root, "data/audio/" + name,
              wav_bytes(explosion(seed, duration, brightness, decay, thump)))
    write(root, EVENTS_JSON_PATH, as_json(build_event_table()))


if __name__ == "__main__":
    main()
