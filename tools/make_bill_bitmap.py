#!/usr/bin/env python3
"""Draws bitmap 251, the marker in column 1 of a bill's picture rows: a small framed picture of an
I-section (16 x 16, white background), written as a 24-bit .bmp.

Usage: python3 tools/make_bill_bitmap.py [output-file]
Only the Python standard library is used; the output is byte-for-byte reproducible.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_icons import Canvas, DARK, GREY, PAPER, STEEL, NAVY  # noqa: E402


def draw(c):
    c.box(1, 2, 14, 13, PAPER, GREY)
    # I-section: two flanges and a web.
    c.box(4, 4, 11, 5, STEEL, NAVY)
    c.box(7, 6, 8, 9, STEEL, NAVY)
    c.box(4, 10, 11, 11, STEEL, NAVY)
    c.dot(2, 3, DARK)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "resources", "kestra_ss", "bitmaps", "251-bill-picture-row.bmp")
    out = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else default)
    canvas = Canvas()
    draw(canvas)
    with open(out, "wb") as f:
        f.write(canvas.bmp())
    print(out)


if __name__ == "__main__":
    main()
