#!/usr/bin/env python3
# SPDX-License-Identifier: Zlib
# Writes the first game's data: a 128 x 64 sprite image (a 4 x 2 grid of 32 x 32 frames of a
# firefly, its glow rising and falling over the eight frames), the sheet that names them, a short
# chirp and the audio event table that plays it, an 8-second looping music track (a quiet
# pentatonic melody over a drone, encoded to Ogg Vorbis by oggenc from Debian's vorbis-tools) and
# the font the score is drawn in (DejaVu Sans, copied from Debian's fonts-dejavu-core). The track
# and the font are not kept in the repository. Standard library only and no randomness, so a
# second run rewrites the same bytes. Run it from anywhere:
#   python3 examples/first_game/generate_data.py
import json
import math
import os
import shutil
import struct
import subprocess
import tempfile
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


def wav_bytes(samples):
    """16-bit mono PCM at SAMPLE_RATE from a list of integers."""
    data = b"".join(struct.pack("<h", s) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, SAMPLE_RATE, SAMPLE_RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def meadow_music():
    """Eight seconds of soft plucked notes over a low drone; the notes fade out before the end and
    the drone is a whole number of periods long, so the loop point joins without a click."""
    notes = [0, 2, 4, 7, 9, 7, 4, 2, 0, 4, 7, 12, 9, 7, 4, 2]
    beat = SAMPLE_RATE // 2
    count = beat * len(notes)
    samples = []
    for i in range(count):
        t = i / SAMPLE_RATE
        drone = 0.12 * math.sin(2.0 * math.pi * 110.0 * t)
        step, within = divmod(i, beat)
        frequency = 440.0 * 2.0 ** (notes[step] / 12.0)
        pluck = 0.3 * math.exp(-5.0 * within / beat) * math.sin(2.0 * math.pi * frequency * within / SAMPLE_RATE)
        samples.append(int(round(20000 * (drone + pluck))))
    return wav_bytes(samples)


def encode_ogg(wav, relative_path):
    path = os.path.join(HERE, relative_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "music.wav")
        with open(source, "wb") as out:
            out.write(wav)
        subprocess.run(["oggenc", "-Q", "-q", "3", "-o", path, source], check=True)


FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

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
    encode_ogg(meadow_music(), "data/music/meadow.ogg")
    os.makedirs(os.path.join(HERE, "data/fonts"), exist_ok=True)
    shutil.copyfile(FONT, os.path.join(HERE, "data/fonts/DejaVuSans.ttf"))


if __name__ == "__main__":
    main()
