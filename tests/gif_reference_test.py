#!/usr/bin/env python3
"""Reads what tools/gifenc.py writes with a decoder that is not ours
(Pillow, Debian's python3-pil), so the encoder and its self-test cannot
share a mistake. Usage: gif_reference_test.py PROGRESS_PICTURE.inc"""

import glob
import io
import os
import random
import struct
import sys
import unittest

from PIL import Image

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(ROOT, "tools"))
import gifenc  # noqa: E402
import pixmap  # noqa: E402

STORED = None  # the build's progress_picture.inc, from the command line


def frames_of(data):
    """Each frame of a GIF as Pillow shows it: rows of (r, g, b), None
    where transparent."""
    image = Image.open(io.BytesIO(data))
    out = []
    for number in range(image.n_frames):
        image.seek(number)
        rgba = image.convert("RGBA")
        pixels = list(rgba.getdata())
        out.append([[None if p[3] == 0 else p[:3] for p in pixels[y * image.width:(y + 1) * image.width]]
                    for y in range(image.height)])
    return image, out


class ReferenceDecoderTest(unittest.TestCase):
    def test_build_progress_picture_shows_the_drawn_frames(self):
        with open(STORED, encoding="ascii") as f:
            stored = bytes(int(v) for v in f.read().replace("\n", "").split(","))
        self.assertEqual(struct.unpack_from("<i", stored)[0], len(stored) - 4)
        maps = sorted(glob.glob(os.path.join(ROOT, "batch", "art", "progress_*.pxm")))
        self.assertEqual(len(maps), 4)
        image, frames = frames_of(stored[4:])
        self.assertEqual(image.info.get("loop"), 1000)
        self.assertEqual(len(frames), 4)
        for number, (path, frame) in enumerate(zip(maps, frames), 1):
            with self.subTest(frame=number):
                image.seek(number - 1)
                self.assertEqual(image.disposal_method, 2)
                self.assertEqual(image.info.get("duration"), 0)
                self.assertEqual(frame, pixmap.load(path).rows)

    def test_noise_through_every_code_width_and_table_clear(self):
        rng = random.Random(11)
        colours = [(rng.randrange(256), rng.randrange(256), rng.randrange(256))
                   for _ in range(255)]
        # Widths that end a frame at every phase of the code widths, and a
        # picture big enough to fill the code table many times.
        for width, height in ((1, 1), (97, 1), (255, 2), (511, 1), (100, 41), (256, 256)):
            with self.subTest(size=f"{width}x{height}"):
                rows = [[None if rng.random() < 0.1 else colours[rng.randrange(255)]
                         for _ in range(width)] for _ in range(height)]
                picture = pixmap.Picture(width, height, rows)
                image, frames = frames_of(gifenc.gif_bytes([picture, picture]))
                self.assertEqual((image.width, image.height), (width, height))
                self.assertEqual(frames, [rows, rows])


if __name__ == "__main__":
    STORED = sys.argv.pop(1)
    unittest.main(verbosity=1)
