#!/usr/bin/env python3
"""Writes a Windows icon file from PNG drawings, each image twice: 16 colours
(the standard VGA palette, for 95, NT 4.0 and 2000 on 16-colour displays and
their icon code) and 32-bit with alpha. Both carry a transparency mask made
from the drawing's alpha, so no edge pixel shows where the drawing is clear.

    make_icon.py OUT.ico IMAGE.png [IMAGE.png ...]

Reads the PNGs through ImageMagick's `convert` as raw RGBA.
"""
import struct
import subprocess
import sys

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
       (128, 0, 128), (0, 128, 128), (192, 192, 192), (128, 128, 128),
       (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
       (0, 255, 255), (255, 255, 255)]


def read_rgba(path):
    size = subprocess.run(['convert', path, '-format', '%w %h', 'info:'],
                          check=True, capture_output=True, text=True).stdout
    width, height = map(int, size.split())
    data = subprocess.run(['convert', path, '-depth', '8', 'rgba:-'],
                          check=True, capture_output=True).stdout
    return width, height, data


def nearest(r, g, b):
    """The palette entry closest in colour and in colourfulness, so that a
    muted green stays green rather than turning grey."""
    def chroma(c):
        return max(c) - min(c)

    def distance(i):
        entry = VGA[i]
        return ((entry[0] - r) ** 2 + (entry[1] - g) ** 2 +
                (entry[2] - b) ** 2 + (chroma(entry) - chroma((r, g, b))) ** 2)

    return min(range(16), key=distance)


def padded(row):
    return row + b'\0' * (-len(row) % 4)


def mask_rows(width, height, data):
    rows = []
    for y in reversed(range(height)):
        bits = bytearray((width + 7) // 8)
        for x in range(width):
            if data[(y * width + x) * 4 + 3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(padded(bytes(bits)))
    return b''.join(rows)


def header(width, height, bits, colours):
    return struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bits, 0, 0,
                       0, 0, colours, 0)


def sixteen_colours(width, height, data):
    rows = []
    for y in reversed(range(height)):
        row = bytearray((width + 1) // 2)
        for x in range(width):
            r, g, b, a = data[(y * width + x) * 4:(y * width + x) * 4 + 4]
            index = nearest(r, g, b) if a >= 128 else 0
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        rows.append(padded(bytes(row)))
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA)
    return (header(width, height, 4, 16) + palette + b''.join(rows) +
            mask_rows(width, height, data))


def true_colour(width, height, data):
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b, a = data[(y * width + x) * 4:(y * width + x) * 4 + 4]
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    return (header(width, height, 32, 0) + b''.join(rows) +
            mask_rows(width, height, data))


def main(out, pngs):
    images = []
    for path in pngs:
        width, height, data = read_rgba(path)
        images.append((width, height, 4, sixteen_colours(width, height, data)))
        images.append((width, height, 32, true_colour(width, height, data)))
    offset = 6 + 16 * len(images)
    directory = struct.pack('<HHH', 0, 1, len(images))
    for width, height, bits, blob in images:
        directory += struct.pack('<BBBBHHII', width % 256, height % 256,
                                 16 if bits == 4 else 0, 0, 1, bits,
                                 len(blob), offset)
        offset += len(blob)
    with open(out, 'wb') as file:
        file.write(directory + b''.join(blob for *_, blob in images))


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2:])
