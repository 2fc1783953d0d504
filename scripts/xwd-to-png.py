#!/usr/bin/env python3
"""Converts an X window dump (xwd -root) of a 24- or 32-bit TrueColor screen to PNG.
   scripts/xwd-to-png.py IN.xwd OUT.png"""
import struct
import sys
import zlib


def read_xwd(data):
    fields = struct.unpack(">25I", data[:100])
    header_size, version = fields[0], fields[1]
    if version != 7:
        raise ValueError("not an X11 window dump (version %d)" % version)
    width, height = fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    ncolors = fields[19]
    if bits_per_pixel not in (24, 32):
        raise ValueError("only 24- and 32-bit screens are supported, not %d" % bits_per_pixel)
    start = header_size + ncolors * 12
    step = bits_per_pixel // 8
    order = "<" if byte_order == 0 else ">"
    shifts = [(mask, (mask & -mask).bit_length() - 1) for mask in (red_mask, green_mask, blue_mask)]
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        row = bytearray(b"\0")  # PNG filter type 0 for the row
        for x in range(0, width * step, step):
            chunk = line[x:x + step] + (b"\0" if step == 3 else b"")
            pixel = struct.unpack(order + "I", chunk)[0]
            row.extend((pixel & mask) >> shift for mask, shift in shifts)
        rows.append(bytes(row))
    return width, height, b"".join(rows)


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def write_png(path, width, height, raw):
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", zlib.compress(raw, 6))
                  + png_chunk(b"IEND", b""))


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        write_png(sys.argv[2], *read_xwd(f.read()))
