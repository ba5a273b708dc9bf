#!/usr/bin/env python3
"""Writes the test pictures of this folder with Python's standard library
alone, independently of the program's readers: one small black-and-white
picture in several formats, a BMP cut short, and a large dot grid.

Run from this folder: python3 make_pictures.py
"""
import struct
import zlib

# Two black squares on white, 40 x 24 pixels; rows listed top first.
W, H = 40, 24


def squares_dark(x, y):
    return (5 <= x <= 12 and 5 <= y <= 12) or (26 <= x <= 33 and 10 <= y <= 17)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def pack_bits(bits):
    """Bits of one row, first pixel in the most significant bit."""
    out = bytearray((len(bits) + 7) // 8)
    for i, b in enumerate(bits):
        if b:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def png(path, width, height, dark, depth, colour_type, palette=None, dark_value=0, light_value=1):
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        values = [dark_value if dark(x, y) else light_value for x in range(width)]
        rows += pack_bits(values) if depth == 1 else bytes(values)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0))
    if palette:
        data += png_chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    data += png_chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    data += png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def bmp_mono(width, height, dark):
    """A 1-bit BMP, palette black then white, rows bottom-up padded to 4 bytes."""
    row_bytes = (width + 31) // 32 * 4
    pixels = bytearray()
    for y in reversed(range(height)):
        row = pack_bits([0 if dark(x, y) else 1 for x in range(width)])
        pixels += row + bytes(row_bytes - len(row))
    offset = 14 + 40 + 8
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    return header + info + palette + bytes(pixels)


def pcx_mono(width, height, dark):
    """A version 5 PCX of one 1-bit plane, set bits white, run-length coded lines."""
    line_bytes = (width + 15) // 16 * 2
    header = bytearray(128)
    header[0:4] = bytes([0x0A, 5, 1, 1])
    header[4:12] = struct.pack("<HHHH", 0, 0, width - 1, height - 1)
    header[12:16] = struct.pack("<HH", 300, 300)
    header[16:22] = bytes([0, 0, 0, 255, 255, 255])
    header[65] = 1
    header[66:70] = struct.pack("<HH", line_bytes, 1)
    body = bytearray()
    for y in range(height):
        line = pack_bits([0 if dark(x, y) else 1 for x in range(width)])
        line += bytes([0xFF]) * (line_bytes - len(line))
        i = 0
        while i < len(line):
            run = 1
            while i + run < len(line) and line[i + run] == line[i] and run < 63:
                run += 1
            if run > 1 or line[i] >= 0xC0:
                body += bytes([0xC0 | run, line[i]])
            else:
                body.append(line[i])
            i += run
    return bytes(header) + bytes(body)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    png("squares-grey1.png", W, H, squares_dark, 1, 0)
    # A two-colour palette listing white first: index 1 is the ink.
    png("squares-palette1.png", W, H, squares_dark, 1, 3, palette=[(255, 255, 255), (0, 0, 0)],
        dark_value=1, light_value=0)
    png("squares-grey8.png", W, H, squares_dark, 8, 0, dark_value=0, light_value=255)
    bmp = bmp_mono(W, H, squares_dark)
    write("squares.bmp", bmp)
    # Some writers leave out the padding after the last row.
    write("squares-unpadded.bmp", bmp[:-3])
    write("squares.pcx", pcx_mono(W, H, squares_dark))

    # 64 x 64 in 8 x 8 checks, cut after 8 of its 64 rows.
    checks = bmp_mono(64, 64, lambda x, y: (x // 8 + y // 8) % 2 == 0)
    write("cut.bmp", checks[:62 + 8 * 8])

    # 1000 x 1000 with a lone dark pixel at every even column of every even
    # row: 499 x 499 dots inside the border.
    png("dotgrid.png", 1000, 1000, lambda x, y: x % 2 == 0 and y % 2 == 0, 1, 0)


if __name__ == "__main__":
    main()
