#!/usr/bin/env python3
"""Writes the program's icons and cursors in the platform's .ico and .cur
formats (32-bit images with an AND mask):

  Quillmere.ico   the program icon "!Quillmere": a crossword grid crossed by a quill
  Document.ico    the grid document icon: a page holding a small grid
  splith.cur      the pane divider pointer: a double bar with arrows left and right
  hand.cur        a pointing hand

Run: python3 make_icons.py [output directory]
"""
import os
import struct
import sys

BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)


def image(size, pixel):
    """Rows top first, each a list of (r, g, b, a)."""
    return [[pixel(x, y) for x in range(size)] for y in range(size)]


def dib(rows):
    """BITMAPINFOHEADER, 32-bit XOR image and 1-bit AND mask, bottom row first."""
    size = len(rows)
    head = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b""
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += struct.pack("BBBB", b, g, r, a)
    stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return head + xor + mask


def icon_file(images, kind=1, hotspot=(0, 0)):
    """An .ico (kind 1) or .cur (kind 2) file holding the images."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    bodies = b""
    for rows in images:
        data = dib(rows)
        size = len(rows)
        a, b = (1, 32) if kind == 1 else hotspot
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, a, b, len(data), offset)
        offset += len(data)
        bodies += data
    return out + bodies


def crossword(size):
    cells = 4
    step = size // cells
    filled = {(1, 0), (3, 1), (0, 2), (2, 3)}
    quill = (30, 80, 170, 255)

    def pixel(x, y):
        # The quill: a thick diagonal from the top right towards the bottom left.
        d = (x + y) - (size - 1)
        if abs(d) <= max(1, size // 16) and x > size // 4:
            return quill
        if x == size - 1 or y == size - 1 or x % step == 0 or y % step == 0:
            return BLACK
        if (x // step, y // step) in filled:
            return BLACK
        return WHITE
    return image(size, pixel)


def document(size):
    fold = size // 4
    left, right = size // 8, size - size // 8 - 1

    def pixel(x, y):
        if x < left or x > right:
            return CLEAR
        if x > right - fold + (y if y < fold else fold) and y < fold:
            return CLEAR
        edge = x == left or x == right or y == 0 or y == size - 1 or (y < fold and x - (right - fold) == y)
        if edge:
            return BLACK
        gx, gy = x - (left + size // 8), y - (size // 3)
        span = size // 2
        if 0 <= gx <= span and 0 <= gy <= span:
            step = max(2, span // 4)
            if gx % step == 0 or gy % step == 0:
                return BLACK
            if (gx // step + gy // step) % 3 == 0:
                return BLACK
        return WHITE
    return image(size, pixel)


def art(lines):
    colours = {".": CLEAR, " ": CLEAR, "X": BLACK, "o": WHITE}
    rows = [[colours[c] for c in line.ljust(32, ".")] for line in lines]
    while len(rows) < 32:
        rows.append([CLEAR] * 32)
    return rows


SPLITH = [
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "            XXXXXXXX",
    "            XooXXooX",
    "            XooXXooX",
    "            XooXXooX",
    "      XX    XooXXooX    XX",
    "     XoX    XooXXooX    XoX",
    "    XooXXXXXXooXXooXXXXXXooX",
    "   XoooooooooooXXoooooooooooX",
    "  XooooooooooooXXooooooooooooX",
    "   XoooooooooooXXoooooooooooX",
    "    XooXXXXXXooXXooXXXXXXooX",
    "     XoX    XooXXooX    XoX",
    "      XX    XooXXooX    XX",
    "            XooXXooX",
    "            XooXXooX",
    "            XooXXooX",
    "            XXXXXXXX",
]

HAND = [
    "     XX",
    "    XooX",
    "    XooX",
    "    XooX",
    "    XooX",
    "    XooXXX",
    "    XooXooXXX",
    "    XooXooXooXX",
    "XXX XooXooXooXoX",
    "XooXXooooooooXooX",
    "XoooXooooooooooooX",
    " XooXoooooooooooX",
    "  XoooooooooooooX",
    "  XoooooooooooooX",
    "   XooooooooooooX",
    "   XoooooooooooX",
    "    XooooooooooX",
    "    XoooooooooX",
    "     XooooooooX",
    "     XooooooooX",
    "     XXXXXXXXXX",
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    files = {
        "Quillmere.ico": icon_file([crossword(32), crossword(16)]),
        "Document.ico": icon_file([document(32), document(16)]),
        "splith.cur": icon_file([art(SPLITH)], 2, (15, 15)),
        "hand.cur": icon_file([art(HAND)], 2, (5, 0)),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
