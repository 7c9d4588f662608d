#!/usr/bin/env python3
"""Turns the frames of an animation, drawn as text pixel maps (the format
tools/pixmap.py describes), into a GIF89a file, or into the stored form the
batch generator keeps its progress picture in. Runs at build time; only the
standard library.

The file it writes: a logical screen the size of the frames with a global
colour table of 256 entries (the frames' colours in order of first use,
index 255 the transparent one, which every '.' becomes), a NETSCAPE2.0
application extension with the loop count, then for each frame a graphic
control extension (delay, disposal method, transparent index 255) and an
image covering the whole screen at (0, 0), compressed with variable-width
LZW as GIF decoders expect: 9-bit codes growing to 12, a clear code when
the table fills, data in sub-blocks of at most 255 bytes.

The stored form is a 32-bit little-endian signed byte count followed by
that many bytes of GIF file; the `stored` command writes it as the
comma-separated byte values of a C++ array initialiser.

Usage:
    gifenc.py gif OUT.gif FRAME.pxm...
    gifenc.py stored OUT.inc FRAME.pxm...
      [--loop N] [--delay CENTISECONDS] [--disposal METHOD]
    gifenc.py --self-test
"""

import argparse
import contextlib
import io
import os
import random
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pixmap  # noqa: E402  (beside this file)

TRANSPARENT = 255
TABLE_SIZE = 256
MIN_CODE_SIZE = 8
MAX_CODES = 4096
MAX_CODE_WIDTH = 12


class GifError(Exception):
    pass


class _BitWriter:
    """Codes packed least significant bit first, as GIF's LZW stream has them."""

    def __init__(self):
        self.out = bytearray()
        self.bits = 0
        self.count = 0

    def write(self, code, width):
        self.bits |= code << self.count
        self.count += width
        while self.count >= 8:
            self.out.append(self.bits & 0xFF)
            self.bits >>= 8
            self.count -= 8

    def finish(self):
        if self.count:
            self.out.append(self.bits & 0xFF)
        return bytes(self.out)


def lzw_encode(indices, min_code_size=MIN_CODE_SIZE):
    clear = 1 << min_code_size
    end = clear + 1
    out = _BitWriter()
    width = min_code_size + 1
    table = {}  # (prefix code, next index) -> code
    next_code = end + 1
    out.write(clear, width)
    prefix = None
    for index in indices:
        if prefix is None:
            prefix = index
            continue
        code = table.get((prefix, index))
        if code is not None:
            prefix = code
            continue
        out.write(prefix, width)
        if next_code < MAX_CODES:
            table[(prefix, index)] = next_code
            next_code += 1
            # The next code written may be the one just added.
            if next_code > (1 << width) and width < MAX_CODE_WIDTH:
                width += 1
        else:
            out.write(clear, width)
            table.clear()
            next_code = end + 1
            width = min_code_size + 1
        prefix = index
    if prefix is not None:
        out.write(prefix, width)
        # A decoder adds an entry on reading that last code and may widen
        # before it reads the end code; follow it.
        if next_code < MAX_CODES and next_code + 1 > (1 << width) and width < MAX_CODE_WIDTH:
            width += 1
    out.write(end, width)
    return out.finish()


def sub_blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def palette_of(frames):
    """The global colour table and each frame's indices into it."""
    if not frames:
        raise GifError("an animation needs at least one frame")
    width, height = frames[0].width, frames[0].height
    colours = {}
    indexed = []
    for number, frame in enumerate(frames, 1):
        if (frame.width, frame.height) != (width, height):
            raise GifError(f"frame {number} is {frame.width}x{frame.height}, "
                           f"frame 1 is {width}x{height}")
        indices = []
        for row in frame.rows:
            for colour in row:
                if colour is None:
                    indices.append(TRANSPARENT)
                    continue
                if colour not in colours:
                    if len(colours) == TRANSPARENT:
                        raise GifError(f"frame {number}: more than {TRANSPARENT} colours")
                    colours[colour] = len(colours)
                indices.append(colours[colour])
        indexed.append(indices)
    table = list(colours) + [(0, 0, 0)] * (TABLE_SIZE - len(colours))
    return table, indexed


def gif_bytes(frames, loop=1000, delay=0, disposal=2):
    table, indexed = palette_of(frames)
    width, height = frames[0].width, frames[0].height
    out = bytearray(b"GIF89a")
    # Global table present, 8 bits of colour resolution, 2^(7+1) entries;
    # the background is the transparent index.
    out += struct.pack("<HHBBB", width, height, 0xF7, TRANSPARENT, 0)
    for colour in table:
        out += bytes(colour)
    out += b"\x21\xff\x0bNETSCAPE2.0" + struct.pack("<BBHB", 3, 1, loop, 0)
    for indices in indexed:
        out += b"\x21\xf9\x04" + struct.pack("<BHBB", (disposal << 2) | 1, delay,
                                             TRANSPARENT, 0)
        out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        out.append(MIN_CODE_SIZE)
        out += sub_blocks(lzw_encode(indices))
    out.append(0x3B)
    return bytes(out)


def stored_form(gif):
    return struct.pack("<i", len(gif)) + gif


def initialiser_text(data):
    lines = []
    for start in range(0, len(data), 16):
        lines.append(", ".join(str(b) for b in data[start:start + 16]))
    return ",\n".join(lines) + "\n"


# A decoder of just what this tool writes and what GIF allows around it,
# so the self-test can read its files back.

class _BitReader:
    def __init__(self, data):
        self.data, self.position = data, 0

    def read(self, width):
        if self.position + width > len(self.data) * 8:
            raise GifError("LZW data ends before the end code")
        code = 0
        for bit in range(width):
            byte = self.data[(self.position + bit) >> 3]
            code |= ((byte >> ((self.position + bit) & 7)) & 1) << bit
        self.position += width
        return code


def lzw_decode(data, min_code_size=MIN_CODE_SIZE):
    clear = 1 << min_code_size
    end = clear + 1
    reader = _BitReader(data)
    base = [bytes((i,)) for i in range(clear)] + [b"", b""]
    table, width, previous = list(base), min_code_size + 1, None
    out = bytearray()
    while True:
        code = reader.read(width)
        if code == clear:
            table, width, previous = list(base), min_code_size + 1, None
            continue
        if code == end:
            return bytes(out)
        if code < len(table) and code not in (clear, end):
            entry = table[code]
            if previous is not None and len(table) < MAX_CODES:
                table.append(previous + entry[:1])
        elif code == len(table) and previous is not None:
            entry = previous + previous[:1]
            table.append(entry)
        else:
            raise GifError(f"LZW code {code} not in the table of {len(table)}")
        out += entry
        previous = entry
        if len(table) == (1 << width) and width < MAX_CODE_WIDTH:
            width += 1


def _read_sub_blocks(data, at):
    out = bytearray()
    while True:
        size = data[at]
        at += 1
        if size == 0:
            return bytes(out), at
        out += data[at:at + size]
        at += size


def decode(data):
    """The screen, the global table, the loop count and each frame's graphic
    control fields, place, size and pixel indices."""
    if data[:6] != b"GIF89a":
        raise GifError("not a GIF89a file")
    width, height, packed, _, _ = struct.unpack_from("<HHBBB", data, 6)
    at = 13
    table = []
    if packed & 0x80:
        entries = 2 << (packed & 7)
        table = [tuple(data[at + 3 * i:at + 3 * i + 3]) for i in range(entries)]
        at += 3 * entries
    result = {"size": (width, height), "table": table, "loop": None, "frames": []}
    control = None
    while True:
        kind = data[at]
        at += 1
        if kind == 0x3B:
            return result
        if kind == 0x21:
            label = data[at]
            body, at = _read_sub_blocks(data, at + 1)
            if label == 0xF9:
                packed, delay, transparent = struct.unpack_from("<BHB", body)
                control = {"delay": delay, "disposal": (packed >> 2) & 7,
                           "transparent": transparent if packed & 1 else None}
            elif label == 0xFF and body[:11] == b"NETSCAPE2.0":
                result["loop"] = struct.unpack_from("<H", body, 12)[0]
        elif kind == 0x2C:
            left, top, w, h, packed = struct.unpack_from("<HHHHB", data, at)
            at += 9
            if packed & 0x80:
                raise GifError("local colour tables are not read here")
            min_code_size = data[at]
            compressed, at = _read_sub_blocks(data, at + 1)
            pixels = lzw_decode(compressed, min_code_size)
            result["frames"].append({"control": control, "place": (left, top),
                                     "size": (w, h), "pixels": pixels})
            control = None
        else:
            raise GifError(f"unknown block 0x{kind:02x} at byte {at - 1}")


def write(path, data):
    # Written beside and renamed, so a failed run never leaves half a file
    # that the build would take as up to date.
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    parser = argparse.ArgumentParser(description="Pixel-map frames to a GIF animation")
    parser.add_argument("--self-test", action="store_true", help="check this tool and exit")
    sub = parser.add_subparsers(dest="command")
    for name, text in (("gif", "a GIF89a file"),
                       ("stored", "the stored form as a C++ array initialiser")):
        command = sub.add_parser(name, help=text)
        command.add_argument("output")
        command.add_argument("frames", nargs="+")
        command.add_argument("--loop", type=int, default=1000)
        command.add_argument("--delay", type=int, default=0, help="in hundredths of a second")
        command.add_argument("--disposal", type=int, default=2, choices=range(8))
    args = parser.parse_args(argv)
    if args.self_test:
        run = unittest.main(module=__name__, argv=[sys.argv[0]], exit=False, verbosity=1)
        return 0 if run.result.wasSuccessful() else 1
    if args.command is None:
        parser.error("name a command: gif or stored")
    try:
        frames = [pixmap.load(f) for f in args.frames]
        gif = gif_bytes(frames, loop=args.loop, delay=args.delay, disposal=args.disposal)
        if args.command == "gif":
            write(args.output, gif)
        else:
            write(args.output, initialiser_text(stored_form(gif)).encode("ascii"))
    except (pixmap.PixmapError, GifError, OSError, struct.error) as e:
        print(f"gifenc.py: error: {e}", file=sys.stderr)
        return 1
    return 0


class GifEncoderTest(unittest.TestCase):
    def test_lzw_round_trips_through_every_code_width_and_clear(self):
        rng = random.Random(7)
        cases = {
            "one pixel": [5],
            "a run (codes used as soon as they are made)": [9] * 5000,
            "two colours": [rng.choice((0, 255)) for _ in range(3000)],
            # Random bytes fill the 4096-entry table many times over.
            "noise": [rng.randrange(256) for _ in range(40000)],
            "stripes": [(i // 7) % 4 for i in range(48 * 48)],
        }
        # Lengths that end just as the code width grows.
        for n in (255, 256, 257, 258, 511, 512, 513):
            cases[f"{n} distinct pairs"] = [x for i in range(n) for x in (i % 256, i // 256)]
        for name, indices in cases.items():
            with self.subTest(name):
                self.assertEqual(lzw_decode(lzw_encode(indices)), bytes(indices))

    def test_lzw_end_code_width_matches_decoder_at_every_length(self):
        # Each length ends with the table one entry further on, so some end
        # just where a decoder widens its codes before reading the end code.
        rng = random.Random(3)
        noise = [rng.randrange(256) for _ in range(9000)]
        for n in range(1, len(noise), 37):
            with self.subTest(length=n):
                self.assertEqual(lzw_decode(lzw_encode(noise[:n])), bytes(noise[:n]))

    def test_lzw_compresses_a_run(self):
        # A run of 2304 pixels needs about 68 codes of 9 bits.
        self.assertLess(len(lzw_encode([255] * 2304)), 100)

    def test_sub_blocks_are_at_most_255_bytes_and_end_with_an_empty_one(self):
        data = bytes(range(256)) * 3
        blocks = sub_blocks(data)
        self.assertEqual(list(blocks[::256][:3]), [255, 255, 255])
        self.assertEqual(blocks[-5:], bytes((3,)) + data[-3:] + b"\0")
        self.assertEqual(_read_sub_blocks(blocks, 0), (data, len(blocks)))
        self.assertEqual(sub_blocks(b""), b"\0")

    MAP = ("size 4x3\nK = #102030\nR = #ff0000\npixels\n"
           "K..R\n.KR.\nRRKK\n")

    def test_animation_structure_and_pixels(self):
        first = pixmap.parse(self.MAP)
        second = pixmap.parse(self.MAP.replace("#102030", "#00ff00"))
        data = gif_bytes([first, second], loop=1000, delay=0, disposal=2)
        gif = decode(data)
        self.assertEqual(gif["size"], (4, 3))
        self.assertEqual(len(gif["table"]), 256)
        self.assertEqual(gif["table"][:3], [(0x10, 0x20, 0x30), (255, 0, 0), (0, 255, 0)])
        self.assertEqual(gif["loop"], 1000)
        self.assertEqual(data[10:13], bytes((0xF7, 255, 0)))
        self.assertEqual(len(gif["frames"]), 2)
        for frame in gif["frames"]:
            self.assertEqual(frame["control"], {"delay": 0, "disposal": 2, "transparent": 255})
            self.assertEqual((frame["place"], frame["size"]), ((0, 0), (4, 3)))
        T = TRANSPARENT
        self.assertEqual(list(gif["frames"][0]["pixels"]), [0, T, T, 1, T, 0, 1, T, 1, 1, 0, 0])
        self.assertEqual(list(gif["frames"][1]["pixels"]), [2, T, T, 1, T, 2, 1, T, 1, 1, 2, 2])
        self.assertEqual(data[-1], 0x3B)

    def test_frames_must_agree_in_size_and_fit_the_table(self):
        small = pixmap.parse("size 1x1\nK = #000000\npixels\nK\n")
        with self.assertRaisesRegex(GifError, "frame 2 is 4x3, frame 1 is 1x1"):
            gif_bytes([small, pixmap.parse(self.MAP)])
        many = [pixmap.Picture(1, 1, [[(i, 0, 0)]]) for i in range(256)]
        with self.assertRaisesRegex(GifError, "frame 256: more than 255 colours"):
            palette_of(many)
        self.assertEqual(len(palette_of(many[:255])[0]), 256)

    def test_stored_form_text_holds_the_count_then_the_file(self):
        gif = gif_bytes([pixmap.parse(self.MAP)])
        text = initialiser_text(stored_form(gif))
        values = bytes(int(v) for v in text.replace("\n", "").split(","))
        self.assertEqual(struct.unpack_from("<i", values)[0], len(gif))
        self.assertEqual(values[4:], gif)
        self.assertTrue(all(len(line.split(",")) <= 17 for line in text.splitlines()))

    def test_command_line_writes_the_files_or_nothing(self):
        with tempfile.TemporaryDirectory() as tmp:
            good = os.path.join(tmp, "good.pxm")
            with open(good, "w", encoding="utf-8") as f:
                f.write(self.MAP)
            bad = os.path.join(tmp, "bad.pxm")
            with open(bad, "w", encoding="utf-8") as f:
                f.write("size 2x1\nK = #000000\npixels\nKX\n")
            errors = io.StringIO()
            with contextlib.redirect_stderr(errors):
                self.assertEqual(main(["stored", os.path.join(tmp, "o.inc"), good, bad]), 1)
            self.assertIn("bad.pxm:4: unknown character 'X'", errors.getvalue())
            self.assertEqual(sorted(os.listdir(tmp)), ["bad.pxm", "good.pxm"])
            out = os.path.join(tmp, "o.gif")
            self.assertEqual(main(["gif", out, good, good, "--loop", "3"]), 0)
            with open(out, "rb") as f:
                gif = decode(f.read())
            self.assertEqual((gif["loop"], len(gif["frames"])), (3, 2))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
