#!/usr/bin/env python3
"""Turns the .bmp screenshots of the Wine UI tests into PNG files.

    bmp2png.py SHOT.bmp [OUT.png]      (OUT defaults to SHOT.png)

Reads uncompressed 24- and 32-bit bitmaps (BI_RGB, or BI_BITFIELDS with the
usual masks), stored bottom up or top down, and writes 8-bit RGB PNG. Only
the standard library, so it runs wherever python3 does.
"""

import struct
import sys
import zlib


class BmpError(ValueError):
    pass


def read_bmp(data):
    """Returns (width, height, rows), rows top first, each as RGB bytes."""
    if len(data) < 54 or data[:2] != b"BM":
        raise BmpError("not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if header_size < 40 or planes != 1:
        raise BmpError("unsupported BMP header")
    if bits not in (24, 32):
        raise BmpError("only 24- and 32-bit BMP files are supported, not %d-bit" % bits)
    # BI_BITFIELDS (3) is fine as long as the masks are the plain BGR ones.
    if compression == 3:
        masks = struct.unpack_from("<III", data, 54)  # after a 40-byte header, or inside a longer one
        if bits != 32 or masks != (0xFF0000, 0xFF00, 0xFF):
            raise BmpError("unsupported colour masks")
    elif compression != 0:
        raise BmpError("compressed BMP files are not supported")
    top_down = height < 0
    height = abs(height)
    if width <= 0 or height == 0:
        raise BmpError("empty image")
    step = bits // 8
    row_size = (width * step + 3) & ~3
    if offset + row_size * height > len(data):
        raise BmpError("file is cut short")
    rows = []
    for y in range(height):
        stored = y if top_down else height - 1 - y
        start = offset + stored * row_size
        row = data[start:start + width * step]
        rgb = bytearray(width * 3)
        rgb[0::3] = row[2::step]
        rgb[1::3] = row[1::step]
        rgb[2::3] = row[0::step]
        rows.append(bytes(rgb))
    return width, height, rows


def png_bytes(width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    raw = b"".join(b"\x00" + row for row in rows)  # filter 0 on every row
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def convert(source, target):
    with open(source, "rb") as f:
        width, height, rows = read_bmp(f.read())
    with open(target, "wb") as f:
        f.write(png_bytes(width, height, rows))


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    source = argv[1]
    target = argv[2] if len(argv) == 3 else (source[:-4] if source.lower().endswith(".bmp") else source) + ".png"
    try:
        convert(source, target)
    except (OSError, BmpError) as error:
        print("bmp2png: %s: %s" % (source, error), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
