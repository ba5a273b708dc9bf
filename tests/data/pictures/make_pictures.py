#!/usr/bin/env python3
"""Writes the test pictures of this folder with Python's standard library
alone, independently of the program's readers: one small black-and-white
picture in several formats, a BMP cut short, run-length coded BMPs (RLE8 and
RLE4) that leave pixels unset or end early, and a large dot grid.

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


def bmp_palette(width, height, depth, compression, palette, data):
    """A BMP with a palette of (r, g, b) entries, the pixel data given as is."""
    offset = 14 + 40 + 4 * len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, depth, compression, len(data), 2835, 2835,
                       len(palette), 0)
    return header + info + b"".join(bytes([b, g, r, 0]) for r, g, b in palette) + bytes(data)


def bmp_indexed(width, height, depth, palette, rows):
    """An uncompressed 4- or 8-bit BMP; rows of palette indices, top first."""
    row_bytes = (width * depth + 31) // 32 * 4
    data = bytearray()
    for row in reversed(rows):
        if depth == 8:
            packed = bytes(row)
        else:
            packed = bytes((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0) for i in range(0, len(row), 2))
        data += packed + bytes(row_bytes - len(packed))
    return bmp_palette(width, height, depth, 0, palette, data)


RLE8, RLE4 = 1, 2


def rle_run(depth, count, first, second=None):
    """An encoded run: count pixels, alternating first and second in RLE4."""
    if depth == 8:
        return bytes([count, first])
    return bytes([count, (first << 4) | (first if second is None else second)])


def rle_absolute(depth, values):
    """An absolute run of three or more pixels, padded to a 16-bit boundary."""
    if depth == 8:
        packed = bytes(values)
    else:
        packed = bytes((values[i] << 4) | (values[i + 1] if i + 1 < len(values) else 0)
                       for i in range(0, len(values), 2))
    if len(packed) % 2:
        packed += b"\0"
    return bytes([0, len(values)]) + packed


END_OF_LINE = b"\0\0"
END_OF_BITMAP = b"\0\1"


def rle_delta(dx, dy):
    return bytes([0, 2, dx, dy])


def rle_every_pixel(depth, rows):
    """Codes every pixel: runs of three or more alike as encoded runs (in RLE4
    also two values taking turns), other stretches of three or more in
    absolute mode, single pixels as runs of one; each line ends with an
    end-of-line code but the last, which ends with the end of the bitmap."""
    data = bytearray()
    bottom_up = list(reversed(rows))
    for n, row in enumerate(bottom_up):
        i = 0
        literal = []

        def flush():
            if len(literal) >= 3:
                data.extend(rle_absolute(depth, literal))
            else:
                for v in literal:
                    data.extend(rle_run(depth, 1, v))
            literal.clear()

        while i < len(row):
            same = 1
            while i + same < len(row) and row[i + same] == row[i] and same < 255:
                same += 1
            turns = 1
            if depth == 4:
                while (i + turns < len(row) and row[i + turns] == row[i + turns % 2] and turns < 255
                       and (turns < 2 or row[i] != row[i + 1])):
                    turns += 1
            if same >= 3:
                flush()
                data.extend(rle_run(depth, same, row[i]))
                i += same
            elif turns >= 4:
                flush()
                data.extend(rle_run(depth, turns, row[i], row[i + 1]))
                i += turns
            else:
                literal.append(row[i])
                if len(literal) == 255:
                    flush()
                i += 1
        flush()
        data.extend(END_OF_BITMAP if n == len(bottom_up) - 1 else END_OF_LINE)
    return bytes(data)


def rle_squares(depth):
    """The two squares coding only their dark pixels (index 0): a delta moves
    up past the white bottom lines and right to the first square's column, an
    absolute run of an odd length (padded) and an encoded run draw the left
    square's lines, an encoded run the right one's, each line ends with an
    end-of-line code, and the bitmap ends right after the top square's last
    line. The white is never coded: none of it may read as dark."""
    bottom_up = [[x for x in range(W) if squares_dark(x, y)] for y in reversed(range(H))]
    lines = [n for n, row in enumerate(bottom_up) if row]
    data = bytearray()
    x, line = 0, 0
    for n in range(lines[0], lines[-1] + 1):
        row = bottom_up[n]
        runs = []
        for px in row:
            if runs and runs[-1][0] + runs[-1][1] == px:
                runs[-1][1] += 1
            else:
                runs.append([px, 1])
        for start, length in runs:
            if (x, line) != (start, n):
                if line == n and start >= x:
                    data += rle_delta(start - x, 0)
                else:
                    data += rle_delta(start - x, n - line)
                x, line = start, n
            if start == 5:
                first = 3 if depth == 8 else 5
                data += rle_absolute(depth, [0] * first) + rle_run(depth, length - first, 0)
            else:
                data += rle_run(depth, length, 0)
            x += length
        if n < lines[-1]:
            data += END_OF_LINE
            x, line = 0, n + 1
    data += END_OF_BITMAP
    return bytes(data)


def greys(n):
    return [(i * 255 // (n - 1),) * 3 for i in range(n)]


def write_rle_pictures():
    # The squares, white never coded: 8 bits with a palette of black and
    # white (read as 1 bit), or of 64 greys (the indices above have no
    # colour), and 4 bits with all 16 greys.
    write("squares-rle8.bmp", bmp_palette(W, H, 8, RLE8, [(0, 0, 0), (255, 255, 255)], rle_squares(8)))
    write("squares-rle8-64.bmp", bmp_palette(W, H, 8, RLE8, greys(64), rle_squares(8)))
    write("squares-rle4.bmp", bmp_palette(W, H, 4, RLE4, greys(16), rle_squares(4)))

    # Shades of an odd width with every pixel coded, and the same picture
    # uncompressed: runs on the lower lines, mixed values above.
    sw, sh = 37, 9

    def shade(depth, x, y):
        if y >= 6:
            return (x // 7 * 3 + y) % (1 << depth)
        if depth == 4 and y == 5:
            return 3 if x % 2 == 0 else 12
        return (x * 29 + y * 53) % (1 << depth)

    for depth, compression in ((8, RLE8), (4, RLE4)):
        rows = [[shade(depth, x, y) for x in range(sw)] for y in range(sh)]
        palette = [((i * 97) % 256, (i * 31) % 256, 255 - (i * 13) % 256) for i in range(1 << depth)]
        write("shades%d.bmp" % depth, bmp_indexed(sw, sh, depth, palette, rows))
        write("shades-rle%d.bmp" % depth, bmp_palette(sw, sh, depth, compression, palette,
                                                      rle_every_pixel(depth, rows)))

    # 64 x 64 in 8 x 8 checks, every pixel coded, the data broken off after
    # 8 of its 64 lines (no end-of-bitmap code).
    checks = [[0 if (x // 8 + y // 8) % 2 == 0 else (1 << 4) - 1 for x in range(64)] for y in range(64)]
    for depth, compression in ((8, RLE8), (4, RLE4)):
        rows = [[v if depth == 4 else v * 17 for v in row] for row in checks]
        data = rle_every_pixel(depth, rows)
        cut = 0
        for _ in range(8):
            cut = data.index(END_OF_LINE, cut) + 2
        write("cut-rle%d.bmp" % depth, bmp_palette(64, 64, depth, compression, greys(1 << depth), data[:cut]))


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

    write_rle_pictures()


if __name__ == "__main__":
    main()
