#!/usr/bin/env python3
"""Bench helpers: a crossword pattern in text ('#' filled, '.' open, a letter
given) as a grid file made from a blank one, and as a qxw deck (one line
per entry, its cells' numbers), for the same grid in both programs.

  grid_tools.py qlx PATTERN.txt BLANK.qlx OUT.qlx   (BLANK: `quill grid new` of the same size)
  grid_tools.py deck PATTERN.txt OUT.qxd
  grid_tools.py square N OUT.txt                    (an N x N pattern with no filled square)
"""
import sys

HEADER = 264


def read_pattern(path):
    return [line.rstrip('\n') for line in open(path) if line.strip()]


def runs(rows):
    h, w = len(rows), len(rows[0])
    out = []
    for r in range(h):
        c = 0
        while c < w:
            if rows[r][c] == '#':
                c += 1
                continue
            e = c
            while e < w and rows[r][e] != '#':
                e += 1
            if e - c >= 2:
                out.append([(k, r) for k in range(c, e)])
            c = e
    for c in range(w):
        r = 0
        while r < h:
            if rows[r][c] == '#':
                r += 1
                continue
            e = r
            while e < h and rows[e][c] != '#':
                e += 1
            if e - r >= 2:
                out.append([(c, k) for k in range(r, e)])
            r = e
    return out


def qlx(pattern, blank, out):
    rows = read_pattern(pattern)
    h, w = len(rows), len(rows[0])
    data = bytearray(open(blank, 'rb').read())
    # After the header: dictionary records ended by one whose first byte is 0.
    at = HEADER
    while data[at] != 0:
        at += 12
    letters = at + 12
    attributes = letters + w * h
    for c in range(w):
        for r in range(h):
            ch = rows[r][c]
            if ch == '#':
                data[attributes + c * h + r] = (data[attributes + c * h + r] & ~3) | 2
            elif ch != '.':
                data[letters + c * h + r] = ord(ch)
    open(out, 'wb').write(data)


def deck(pattern, out):
    rows = read_pattern(pattern)
    w = len(rows[0])
    lines = [' '.join('%03d' % (r * w + c) for c, r in run) for run in runs(rows)]
    open(out, 'w').write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    if sys.argv[1] == 'qlx':
        qlx(*sys.argv[2:5])
    elif sys.argv[1] == 'deck':
        deck(*sys.argv[2:4])
    elif sys.argv[1] == 'square':
        n = int(sys.argv[2])
        open(sys.argv[3], 'w').write(('.' * n + '\n') * n)
