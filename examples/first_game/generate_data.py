#!/usr/bin/env python3
# Writes the first game's data: a 128 x 64 sprite image (a 4 x 2 grid of 32 x 32 frames of a
# firefly, its glow rising and falling over the eight frames), the sheet that names them, a short
# chirp and the audio event table that plays it. Standard library only and no randomness, so a
# second run rewrites the same bytes. Run it from anywhere:
#   python3 examples/first_game/generate_data.py
import json
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
FRAME = 32
COLUMNS, ROWS = 4, 2
SAMPLE_RATE = 22050


def firefly_pixel(x, y, glow):
    """RGBA of one pixel of a frame: a dark body on a yellow-green halo whose size follows glow
    (0 to 1). (x, y) is the pixel centre measured from the frame's centre."""
    distance = math.hypot(x, y)
    if distance < 4.5:
        return (70, 50, 20, 255)
    halo_radius = 7.0 + 8.0 * glow
    strength = max(0.0, 1.0 - distance / halo_radius)
    alpha = int(round(255 * min(1.0, strength * 1.6)))
    return (220, 255, 90, alpha) if alpha > 0 else (0, 0, 0, 0)


def png_bytes(width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # filter type None
        for x in range(width):
            rows += bytes(pixel(x, y))

    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def sprite_image():
    def pixel(x, y):
        frame = (y // FRAME) * COLUMNS + x // FRAME
        glow = 0.5 - 0.5 * math.cos(2.0 * math.pi * frame / (COLUMNS * ROWS))
        centre = FRAME / 2.0
        return firefly_pixel(x % FRAME + 0.5 - centre, y % FRAME + 0.5 - centre, glow)

    return png_bytes(COLUMNS * FRAME, ROWS * FRAME, pixel)


def chirp_wav():
    """0.15 s of a tone sliding from 2000 to 3200 Hz, faded in and out; 16-bit mono PCM."""
    count = int(SAMPLE_RATE * 0.15)
    samples = bytearray()
    phase = 0.0
    for i in range(count):
        t = i / count
        phase += 2.0 * math.pi * (2000.0 + 1200.0 * t) / SAMPLE_RATE
        envelope = math.sin(math.pi * t) ** 2
        samples += struct.pack("<h", int(round(12000 * envelope * math.sin(phase))))
    fmt = struct.pack("<HHIIHH", 1, 1, SAMPLE_RATE, SAMPLE_RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(samples)) + bytes(samples)
    return b"RIFF" + struct.pack("<I", len(body)) + body


SHEET = {
    "texture": "data/sprites.png",
    "sprite_width": FRAME,
    "sprite_height": FRAME,
    "sprites": [{"name": "firefly", "x": 0, "y": 0}],
    "animations": [
        {"name": "glow", "frames": {"width": FRAME, "height": FRAME, "start": 0,
                                    "count": COLUMNS * ROWS}},
    ],
}

EVENTS = {
    "audio_events": [
        {"name": "chirp", "file": "data/audio/chirp.wav", "volume": 0.8,
         "min_pitch": 0.8, "max_pitch": 1.25},
    ],
}


def write(relative_path, data):
    path = os.path.join(HERE, relative_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main():
    write("data/sprites.png", sprite_image())
    write("data/sprites.json", (json.dumps(SHEET, indent=2) + "\n").encode())
    write("data/audio/chirp.wav", chirp_wav())
    write("data/audio/audio_events.json", (json.dumps(EVENTS, indent=2) + "\n").encode())


if __name__ == "__main__":
    main()
