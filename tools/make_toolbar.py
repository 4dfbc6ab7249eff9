#!/usr/bin/env python3
"""Draws the spreadsheet editor's toolbar strip (bitmap 128): ten 16x15 buttons side by side, in the
order of the buttons of toolbar 128, written as a 24-bit .bmp.

The background is the button face grey (192, 192, 192), which the toolbar treats as transparent, so
the drawings never use that grey themselves. Only the Python standard library is used; the output is
byte-for-byte reproducible.

Usage: python3 tools/make_toolbar.py [output-file]
"""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_icons import Canvas  # noqa: E402  (the shared drawing primitives)

W, H = 16, 15
FACE = (192, 192, 192)
BLACK = (0, 0, 0)
DARK = (64, 64, 64)
GREY = (128, 128, 128)
PAPER = (250, 250, 244)
BLUE = (30, 80, 200)
NAVY = (20, 40, 120)
YELLOW = (240, 200, 60)
OCHRE = (170, 130, 20)
RED = (200, 30, 30)
GREEN = (20, 150, 40)
SKY = (150, 190, 240)
BROWN = (120, 80, 30)


def Button():
    """One button's picture: the icon generator's canvas on the button face grey."""
    return Canvas(W, H, FACE)


def page(b, x0, y0, x1, y1, lines=True):
    b.fill(x0, y0, x1, y1, PAPER)
    b.frame(x0, y0, x1, y1, DARK)
    if lines:
        for y in range(y0 + 3, y1 - 1, 2):
            b.line(x0 + 2, y, x1 - 2, y, GREY)


def printer(b):
    page(b, 4, 1, 11, 6, lines=False)
    b.fill(1, 6, 14, 11, GREY)
    b.frame(1, 6, 14, 11, DARK)
    b.dot(12, 8, GREEN)
    page(b, 4, 10, 11, 13, lines=False)


def new(b):
    page(b, 3, 1, 12, 13, lines=False)
    b.line(9, 1, 12, 4, DARK)


def open_(b):
    b.fill(1, 4, 13, 12, YELLOW)
    b.frame(1, 4, 13, 12, OCHRE)
    b.line(1, 4, 5, 2, OCHRE)
    b.line(5, 2, 7, 4, OCHRE)


def save(b):
    b.fill(1, 1, 13, 13, NAVY)
    b.fill(4, 1, 10, 5, PAPER)
    b.fill(4, 9, 10, 13, GREY)


def cut(b):
    b.line(4, 1, 9, 8, DARK)
    b.line(10, 1, 5, 8, DARK)
    b.frame(2, 9, 5, 12, RED)
    b.frame(8, 9, 11, 12, RED)


def copy(b):
    page(b, 1, 1, 8, 9)
    page(b, 6, 5, 13, 13)


def paste(b):
    b.fill(2, 2, 11, 13, BROWN)
    b.fill(5, 1, 8, 3, GREY)
    page(b, 7, 6, 14, 13)


def export(b):
    page(b, 1, 1, 9, 13)
    b.line(8, 7, 14, 7, GREEN)
    b.line(12, 5, 14, 7, GREEN)
    b.line(12, 9, 14, 7, GREEN)


def preview(b):
    page(b, 1, 1, 10, 13)
    b.frame(7, 5, 11, 9, BLUE)
    b.fill(8, 6, 10, 8, SKY)
    b.line(11, 10, 14, 13, DARK)


def setup(b):
    printer(b)
    b.line(9, 1, 14, 1, BLUE)
    b.line(14, 1, 14, 4, BLUE)


DRAWINGS = [new, open_, save, cut, copy, paste, export, preview, printer, setup]


def bmp(buttons):
    width = W * len(buttons)
    stride = (width * 3 + 3) & ~3
    rows = b""
    for y in reversed(range(H)):
        row = b"".join(bytes((c[2], c[1], c[0])) for b in buttons for c in b.px[y])
        rows += row + b"\0" * (stride - len(row))
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, H, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "resources", "kestra_ss", "bitmaps", "128-editor-toolbar.bmp")
    out = sys.argv[1] if len(sys.argv) > 1 else default
    buttons = []
    for draw in DRAWINGS:
        b = Button()
        draw(b)
        buttons.append(b)
    with open(out, "wb") as f:
        f.write(bmp(buttons))


if __name__ == "__main__":
    main()
