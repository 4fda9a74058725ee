#!/usr/bin/env python3
"""Writes Sprites.spr, the program's sprite file, in the classic sprite-area
layout without the area-size word: sprite count, offset of the first sprite,
offset of the free space (offsets count from the area's start, four bytes
before the file's first byte), then the sprites.

The file holds one sprite, "rindent": mode 25 (two colours, white 0 and
black 1), 7 pixels by 14 rows, with a mask: a solid black triangle pointing
right whose rows, from the top, are 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2
and 1 pixels wide. Pixels are one bit each, the leftmost in bit 0.

Run: python3 make_sprites.py [output path]
"""
import struct
import sys

ROWS = [1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1]
WIDTH = 7
HEADER = 44                    # next, name[12], width, height, lbit, rbit, image, mask, mode
PALETTE = [0xFFFFFF00, 0xFFFFFF00, 0x00000000, 0x00000000]  # two words per colour: white, black


def sprite():
    rows = [(1 << w) - 1 for w in ROWS]
    image_offset = HEADER + 4 * len(PALETTE)
    mask_offset = image_offset + 4 * len(rows)
    size = mask_offset + 4 * len(rows)
    head = struct.pack("<i12siiiiiii", size, b"rindent", 0, len(rows) - 1, 0, WIDTH - 1,
                       image_offset, mask_offset, 25)
    body = struct.pack("<%dI" % len(PALETTE), *PALETTE)
    body += struct.pack("<%dI" % len(rows), *rows)      # image: colour 1 (black) where set
    body += struct.pack("<%dI" % len(rows), *rows)      # mask: solid where set
    return head + body


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "Sprites.spr"
    data = sprite()
    first = 16
    area = struct.pack("<iii", 1, first, first + len(data)) + data
    with open(out, "wb") as f:
        f.write(area)


if __name__ == "__main__":
    main()
