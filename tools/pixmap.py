#!/usr/bin/env python3
"""Turns the text pixel maps in */art/ into the .ico and .bmp files that the
resource scripts embed. Runs at build time; only the standard library.

Pixel map format (one picture per file):

    # Lines starting with '#' are comments; blank lines are ignored.
    size 16x16
    K = #202020   dark outline      (one character, '=', #rrggbb, any words)
    Y = #f0c030   gold
    pixels
    ....KKKK........
    ...                              (exactly 16 rows of exactly 16 characters)

'.' is always transparent and cannot be redefined. Palette characters are
any printable character except '.', '#', '=' and white space.

Tool-bar bitmaps (the `bmp` command) are 24-bit bottom-up BMPs without a
colour table. Transparent pixels are pure magenta (255, 0, 255): draw them
through a mask made from that colour (ImageList_AddMasked with
RGB(255, 0, 255), or TransparentBlt). No opaque pixel may be magenta, so
the key is unambiguous. Load them with LoadImageA(instance, "SB_SAVE",
IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION); LR_LOADTRANSPARENT and
LR_LOADMAP3DCOLORS only act on colour tables, which these files lack. The disabled variant has the same size and
convention: a grey (128, 128, 128) silhouette of the picture's dark pixels
with a white (255, 255, 255) copy one pixel down and right beneath it - the
embossed look of a greyed button picture.

Icons (the `ico` command) hold one 32-bit BGRA image per map, each with its
1-bit AND mask, which Windows and Wine load with LoadIcon and LoadImage.
With --scaled they also hold the sizes Windows asks for on scaled screens
(20, 24, 40, 48 and 64 pixels: the small and large icon at 125, 150 and
200 %), each made from a map blown up by a whole multiple, pixel for pixel,
and centred where that does not fill it, so that Windows never has to
stretch (and blur) one.

Usage:
    pixmap.py ico OUT.ico MAP... [--scaled] (e.g. the 32x32 and 16x16 maps)
    pixmap.py bmp OUT.bmp MAP [--disabled OUT_DISABLED.bmp]
    pixmap.py --self-test
"""

import argparse
import contextlib
import io
import os
import struct
import sys
import tempfile
import unittest

MASK_COLOUR = (255, 0, 255)
SHADOW = (128, 128, 128)
HIGHLIGHT = (255, 255, 255)
# Pixels darker than this (0..255 luma) form the disabled silhouette: the
# outline and dark fills, while light fills drop out as in a greyed button.
INK_LUMA = 150
RESERVED = set(".#=")


class PixmapError(Exception):
    pass


class Picture:
    """Rows of (r, g, b) tuples, None where transparent."""

    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows


def parse(text, name="<map>"):
    size = None
    palette = {}
    rows = []
    in_pixels = False
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        where = f"{name}:{number}"
        if not line or line.startswith("#"):
            continue
        if in_pixels:
            for column, char in enumerate(line, 1):
                if char != "." and char not in palette:
                    raise PixmapError(f"{where}: unknown character '{char}' in column {column}"
                                      " (not in the palette)")
            if len(line) != size[0]:
                raise PixmapError(f"{where}: row has {len(line)} pixels, expected {size[0]}")
            rows.append([None if c == "." else palette[c] for c in line])
        elif line == "pixels":
            if size is None:
                raise PixmapError(f"{where}: 'pixels' before 'size WxH'")
            in_pixels = True
        elif line.startswith("size "):
            size = _parse_size(line[5:].strip(), where)
        else:
            char, colour = _parse_colour(line, where)
            if char in palette:
                raise PixmapError(f"{where}: character '{char}' defined twice")
            palette[char] = colour
    if not in_pixels:
        raise PixmapError(f"{name}: no 'pixels' section")
    if len(rows) != size[1]:
        raise PixmapError(f"{name}: {len(rows)} rows, expected {size[1]}")
    return Picture(size[0], size[1], rows)


def _parse_size(value, where):
    try:
        width, height = (int(v) for v in value.split("x"))
    except ValueError:
        raise PixmapError(f"{where}: size must look like 16x16, not '{value}'") from None
    if not (1 <= width <= 256 and 1 <= height <= 256):
        raise PixmapError(f"{where}: size {width}x{height} outside 1..256")
    return width, height


def _parse_colour(line, where):
    parts = line.split()
    if len(parts) < 3 or parts[1] != "=" or len(parts[0]) != 1:
        raise PixmapError(f"{where}: expected 'C = #rrggbb', 'size WxH' or 'pixels', got '{line}'")
    char, value = parts[0], parts[2]
    if char in RESERVED:
        raise PixmapError(f"{where}: '{char}' cannot be a palette character")
    if len(value) != 7 or value[0] != "#":
        raise PixmapError(f"{where}: colour must be #rrggbb, not '{value}'")
    try:
        colour = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
    except ValueError:
        raise PixmapError(f"{where}: colour must be #rrggbb, not '{value}'") from None
    if colour == MASK_COLOUR:
        raise PixmapError(f"{where}: #ff00ff is the bitmaps' transparent colour; use '.'")
    return char, colour


def load(path):
    with open(path, encoding="utf-8") as f:
        return parse(f.read(), path)


def _bitmap_info(width, height, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size,
                       2835, 2835, 0, 0)


SCALED_ICON_SIZES = (20, 24, 40, 48, 64)


def blown_up(picture, side):
    """A side x side picture: the largest whole multiple of picture that
    fits, centred, transparent around it."""
    k = side // picture.width
    margin = (side - picture.width * k) // 2
    rows = [[None] * side for _ in range(side)]
    for y, row in enumerate(picture.rows):
        for x, c in enumerate(row):
            for dy in range(k):
                for dx in range(k):
                    rows[margin + y * k + dy][margin + x * k + dx] = c
    return Picture(side, side, rows)


def with_scaled_sizes(pictures):
    """pictures and, for each scaled size none of them has, the blown-up
    map that covers most of it (the larger map where two cover the same)."""
    have = {p.width for p in pictures}
    extra = []
    for side in SCALED_ICON_SIZES:
        if side in have:
            continue
        fitting = [p for p in pictures if p.width <= side]
        if fitting:
            best = max(fitting, key=lambda p: (side // p.width * p.width, p.width))
            extra.append(blown_up(best, side))
    return list(pictures) + extra


def ico_bytes(pictures):
    if not pictures:
        raise PixmapError("an icon needs at least one picture")
    images = []
    for p in pictures:
        pixels = bytearray()
        mask = bytearray()
        mask_stride = (p.width + 31) // 32 * 4
        for row in reversed(p.rows):
            bits = bytearray(mask_stride)
            for x, c in enumerate(row):
                if c is None:
                    pixels += b"\0\0\0\0"
                    bits[x // 8] |= 0x80 >> (x % 8)
                else:
                    pixels += bytes((c[2], c[1], c[0], 255))
            mask += bits
        # An icon's header counts the colour image and the mask as one bitmap
        # of twice the height.
        header = _bitmap_info(p.width, p.height * 2, 32, len(pixels) + len(mask))
        images.append((p, header + pixels + mask))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for p, data in images:
        out += struct.pack("<BBBBHHII", p.width % 256, p.height % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def bmp_bytes(picture):
    stride = (picture.width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(picture.rows):
        line = bytearray()
        for c in row:
            r, g, b = MASK_COLOUR if c is None else c
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = _bitmap_info(picture.width, picture.height, 24, len(pixels))
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + pixels


def disabled(picture):
    def ink(c):
        return c is not None and 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2] < INK_LUMA

    w, h = picture.width, picture.height
    rows = [[None] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if ink(picture.rows[y][x]) and x + 1 < w and y + 1 < h:
                rows[y + 1][x + 1] = HIGHLIGHT
    for y in range(h):
        for x in range(w):
            if ink(picture.rows[y][x]):
                rows[y][x] = SHADOW
    return Picture(w, h, rows)


def write(path, data):
    # Written beside and renamed, so a failed run never leaves half a file
    # that the build would take as up to date.
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    parser = argparse.ArgumentParser(description="Pixel maps to .ico and .bmp")
    parser.add_argument("--self-test", action="store_true", help="check this tool and exit")
    sub = parser.add_subparsers(dest="command")
    ico = sub.add_parser("ico", help="one icon from one or more maps")
    ico.add_argument("output")
    ico.add_argument("maps", nargs="+")
    ico.add_argument("--scaled", action="store_true",
                     help="add the sizes of scaled screens, blown up from the maps")
    bmp = sub.add_parser("bmp", help="a tool-bar bitmap, magenta where transparent")
    bmp.add_argument("output")
    bmp.add_argument("map")
    bmp.add_argument("--disabled", metavar="OUTPUT", help="also write the greyed picture")
    args = parser.parse_args(argv)
    if args.self_test:
        run = unittest.main(module=__name__, argv=[sys.argv[0]], exit=False, verbosity=1)
        return 0 if run.result.wasSuccessful() else 1
    try:
        if args.command == "ico":
            pictures = [load(m) for m in args.maps]
            for p, m in zip(pictures, args.maps):
                if p.width != p.height or p.width not in (16, 24, 32, 48, 64, 256):
                    raise PixmapError(f"{m}: an icon picture must be square, 16..256, "
                                      f"not {p.width}x{p.height}")
            write(args.output,
                  ico_bytes(with_scaled_sizes(pictures) if args.scaled else pictures))
        elif args.command == "bmp":
            picture = load(args.map)
            write(args.output, bmp_bytes(picture))
            if args.disabled:
                write(args.disabled, bmp_bytes(disabled(picture)))
        else:
            parser.error("name a command: ico or bmp")
    except (PixmapError, OSError) as e:
        print(f"pixmap.py: error: {e}", file=sys.stderr)
        return 1
    return 0


class PixmapTest(unittest.TestCase):
    MAP = "size 3x2\nK = #102030 outline\nW = #ffffff\npixels\nK.W\nWKK\n"

    def test_parse_palette_and_transparency(self):
        p = parse("# comment\n" + self.MAP)
        self.assertEqual((p.width, p.height), (3, 2))
        self.assertEqual(p.rows[0], [(0x10, 0x20, 0x30), None, (255, 255, 255)])

    def test_bad_maps_name_the_file_line_and_fault(self):
        cases = {
            "size 3x1\nK = #000000\npixels\nKZK\n": "m:4: unknown character 'Z' in column 2",
            "size 3x1\nK = #000000\npixels\nKKKK\n": "m:4: row has 4 pixels, expected 3",
            "size 3x1\nK = #000000\npixels\nKK\n": "m:4: row has 2 pixels, expected 3",
            "size 3x2\nK = #000000\npixels\nKKK\n": "m: 1 rows, expected 2",
            "K = #000000\npixels\n": "m:2: 'pixels' before 'size WxH'",
            "size 3x1\nK = #000000\nK = #111111\n": "m:3: character 'K' defined twice",
            "size 3x1\nM = #ff00ff\n": "transparent colour",
            "size 3x1\n. = #000000\n": "'.' cannot be a palette character",
            "size 3x1\nK = #00000g\n": "colour must be #rrggbb",
            "size 3by1\n": "size must look like 16x16",
            "size 3x1\nK = #000000\n": "m: no 'pixels' section",
        }
        for text, message in cases.items():
            with self.subTest(message=message):
                with self.assertRaises(PixmapError) as caught:
                    parse(text, "m")
                self.assertIn(message, str(caught.exception))

    def test_icon_directory_and_images(self):
        big = parse("size 32x32\nK = #000000\npixels\n" + ("K" * 31 + ".\n") * 32)
        small = parse("size 16x16\nR = #ff0000\npixels\n" + ("R" * 16 + "\n") * 16)
        data = ico_bytes([big, small])
        self.assertEqual(struct.unpack_from("<HHH", data, 0), (0, 1, 2))
        sizes = [40 + 32 * 32 * 4 + 32 * 4, 40 + 16 * 16 * 4 + 16 * 4]
        offset = 6 + 2 * 16
        for i, (side, size) in enumerate(zip((32, 16), sizes)):
            entry = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            self.assertEqual(entry, (side, side, 0, 0, 1, 32, size, offset))
            header = struct.unpack_from("<IiiHHI", data, offset)
            self.assertEqual(header, (40, side, 2 * side, 1, 32, 0))
            offset += size
        self.assertEqual(len(data), offset)
        first = 6 + 32 + 40
        self.assertEqual(data[first:first + 4], bytes((0, 0, 0, 255)))
        self.assertEqual(data[first + 31 * 4:first + 32 * 4], bytes(4))
        mask = first + 32 * 32 * 4
        self.assertEqual(data[mask:mask + 4], bytes((0, 0, 0, 1)))

    def test_scaled_sizes_are_whole_multiples_centred(self):
        big = parse("size 32x32\nK = #000000\npixels\n" + ("K" * 32 + "\n") * 32)
        small = parse("size 16x16\nR = #ff0000\npixels\n" + ("R" + "." * 15 + "\n") * 16)
        made = {p.width: p for p in with_scaled_sizes([big, small])[2:]}
        self.assertEqual(sorted(made), [20, 24, 40, 48, 64])
        # 24: the small map once, 4 pixels in; 48: three times; 40 and 64: the large one.
        self.assertEqual(made[24].rows[4][3:6], [None, (255, 0, 0), None])
        self.assertEqual(made[48].rows[0][:4], [(255, 0, 0)] * 3 + [None])
        self.assertEqual(made[40].rows[4][4], (0, 0, 0))
        self.assertEqual(made[40].rows[4][3], None)
        self.assertEqual(made[64].rows[63][63], (0, 0, 0))

    def test_bitmap_is_bottom_up_bgr_with_magenta_and_padded_rows(self):
        data = bmp_bytes(parse(self.MAP))
        self.assertEqual(data[:2], b"BM")
        size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
        self.assertEqual((size, offset), (len(data), 54))
        self.assertEqual(struct.unpack_from("<IiiHHI", data, 14), (40, 3, 2, 1, 24, 0))
        # Rows of 9 bytes padded to 12; the last map row comes first.
        self.assertEqual(len(data), 54 + 2 * 12)
        self.assertEqual(data[54:63], bytes((255, 255, 255) + (0x30, 0x20, 0x10) * 2))
        self.assertEqual(data[66:75], bytes((0x30, 0x20, 0x10, 255, 0, 255, 255, 255, 255)))

    def test_disabled_is_embossed_silhouette_of_dark_pixels(self):
        p = disabled(parse(self.MAP))
        self.assertEqual(p.rows[0], [SHADOW, None, None])
        self.assertEqual(p.rows[1], [None, SHADOW, SHADOW])
        lone = disabled(parse("size 3x3\nK = #000000\npixels\nK..\n...\n..K\n"))
        self.assertEqual(lone.rows[1][1], HIGHLIGHT)
        self.assertEqual(lone.rows[2][2], SHADOW)

    def test_command_line_reports_errors_and_writes_nothing(self):
        with tempfile.TemporaryDirectory() as tmp:
            bad = os.path.join(tmp, "bad.pxm")
            with open(bad, "w", encoding="utf-8") as f:
                f.write("size 2x1\nK = #000000\npixels\nKX\n")
            oblong = os.path.join(tmp, "oblong.pxm")
            with open(oblong, "w", encoding="utf-8") as f:
                f.write(self.MAP)
            out = os.path.join(tmp, "out.bmp")
            errors = io.StringIO()
            with contextlib.redirect_stderr(errors):
                self.assertEqual(main(["bmp", out, bad, "--disabled", out + "2"]), 1)
                self.assertEqual(main(["ico", out, oblong]), 1)
            self.assertIn("bad.pxm:4: unknown character 'X'", errors.getvalue())
            self.assertIn("must be square", errors.getvalue())
            self.assertEqual(sorted(os.listdir(tmp)), ["bad.pxm", "oblong.pxm"])
            self.assertEqual(main(["bmp", out, oblong, "--disabled", out + "2"]), 0)
            with open(out + "2", "rb") as f:
                self.assertEqual(f.read()[:2], b"BM")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
