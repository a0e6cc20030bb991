#!/usr/bin/env python3
"""tools/bmp2png.py against bitmaps made here, decoded back from the PNG."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

TOOL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "bmp2png.py")

# A 3 x 2 image, top row first: odd width, so 24-bit rows need padding.
PIXELS = [
    [(255, 0, 0), (0, 255, 0), (0, 0, 255)],
    [(1, 2, 3), (250, 251, 252), (128, 64, 32)],
]


def make_bmp(bits, top_down=False, bitfields=False):
    width, height = len(PIXELS[0]), len(PIXELS)
    step = bits // 8
    row_size = (width * step + 3) & ~3
    order = PIXELS if top_down else list(reversed(PIXELS))
    body = b""
    for row in order:
        stored = b"".join(bytes((b, g, r)) + (b"\xff" if step == 4 else b"") for r, g, b in row)
        body += stored + b"\x00" * (row_size - len(stored))
    masks = struct.pack("<III", 0xFF0000, 0xFF00, 0xFF) if bitfields else b""
    offset = 14 + 40 + len(masks)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, 3 if bitfields else 0,
                       len(body), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", offset + len(body), 0, 0, offset) + info + masks + body


def decode_png(data):
    """Returns (width, height, rows of (r, g, b)) of an 8-bit RGB PNG with filter 0."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8:at + 8 + length]
        crc = struct.unpack_from(">I", data, at + 8 + length)[0]
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF, kind
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, colour = header[:4]
    assert (depth, colour) == (8, 2)
    raw = zlib.decompress(idat)
    stride = 1 + width * 3
    rows = []
    for y in range(height):
        line = raw[y * stride:(y + 1) * stride]
        assert line[0] == 0
        rows.append([tuple(line[1 + x * 3:4 + x * 3]) for x in range(width)])
    return width, height, rows


class Bmp2PngTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def run_tool(self, bmp_bytes):
        source = os.path.join(self.folder.name, "shot.bmp")
        with open(source, "wb") as f:
            f.write(bmp_bytes)
        done = subprocess.run([sys.executable, TOOL, source], capture_output=True, text=True)
        target = os.path.join(self.folder.name, "shot.png")
        png = None
        if os.path.exists(target):
            with open(target, "rb") as f:
                png = f.read()
        return done, png

    def test_pixels_survive_every_layout(self):
        layouts = [
            ("24-bit bottom up", make_bmp(24)),
            ("24-bit top down", make_bmp(24, top_down=True)),
            ("32-bit bottom up", make_bmp(32)),
            ("32-bit bit fields", make_bmp(32, top_down=True, bitfields=True)),
        ]
        for name, bmp in layouts:
            with self.subTest(name):
                done, png = self.run_tool(bmp)
                self.assertEqual(done.returncode, 0, done.stderr)
                self.assertEqual(decode_png(png), (3, 2, PIXELS))

    def test_unreadable_files_are_refused(self):
        eight_bit = bytearray(make_bmp(24))
        struct.pack_into("<H", eight_bit, 28, 8)
        cases = [
            ("not a bitmap", b"GIF89a" + b"\x00" * 60, "not a BMP file"),
            ("8-bit", bytes(eight_bit), "not 8-bit"),
            ("cut short", make_bmp(24)[:-4], "cut short"),
        ]
        for name, data, message in cases:
            with self.subTest(name):
                done, png = self.run_tool(data)
                self.assertEqual(done.returncode, 1)
                self.assertIn(message, done.stderr)
                self.assertIsNone(png)


if __name__ == "__main__":
    unittest.main()
