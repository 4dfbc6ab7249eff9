#!/usr/bin/env python3
"""Draws the module's 16x16 button icons and writes them as 24-bit .bmp files.

Every icon is built from simple shapes (lines, frames, filled polygons, circles) on a white
background; white (0xFFFFFF) is the transparent colour, so the drawings never use pure white
themselves (paper is a light off-white). The output goes to resources/kestra_ss/icons/<id>-<name>.bmp,
where cmake's kx_embed_resources picks it up. Icon 239 (the flex button) is kept as it is.

Usage: python3 tools/make_icons.py [output-folder]
Only the Python standard library is used; the output is byte-for-byte reproducible.
"""

import os
import struct
import sys

SIZE = 16
WHITE = (255, 255, 255)

# Palette (r, g, b). Nothing here is pure white.
BLACK = (0, 0, 0)
DARK = (64, 64, 64)
GREY = (128, 128, 128)
LIGHT = (192, 192, 192)
PAPER = (244, 244, 236)
RED = (200, 30, 30)
GREEN = (20, 150, 40)
BLUE = (30, 80, 200)
SKY = (150, 190, 240)
NAVY = (20, 40, 120)
YELLOW = (240, 200, 60)
OCHRE = (170, 130, 20)
BROWN = (120, 80, 30)
STEEL = (110, 130, 150)
ORANGE = (240, 140, 20)


class Canvas:
    """A picture of width x height pixels on a background colour (16 x 16 on white for the icons)."""

    def __init__(self, width=SIZE, height=SIZE, background=WHITE):
        self.width, self.height = width, height
        self.px = [[background] * width for _ in range(height)]

    def dot(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def hline(self, x0, x1, y, c):
        for x in range(min(x0, x1), max(x0, x1) + 1):
            self.dot(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(min(y0, y1), max(y0, y1) + 1):
            self.dot(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def frame(self, x0, y0, x1, y1, c):
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            self.hline(x0, x1, y, c)

    def box(self, x0, y0, x1, y1, inside, edge):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, edge)

    def polygon(self, points, c):
        """Fills the pixels whose centres lie inside the polygon, then draws its edges."""
        n = len(points)
        for y in range(self.height):
            for x in range(self.width):
                px, py = x + 0.5, y + 0.5
                inside = False
                for i in range(n):
                    xa, ya = points[i]
                    xb, yb = points[(i + 1) % n]
                    if (ya > py) != (yb > py):
                        xc = xa + (py - ya) * (xb - xa) / (yb - ya)
                        if px < xc:
                            inside = not inside
                if inside:
                    self.dot(x, y, c)

    def outline(self, points, c):
        for i in range(len(points)):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % len(points)]
            self.line(xa, ya, xb, yb, c)

    def circle(self, cx, cy, r, c, filled=None):
        for y in range(self.height):
            for x in range(self.width):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if filled is not None and d < r - 0.5:
                    self.dot(x, y, filled)
                elif abs(d - r) < 0.5:
                    self.dot(x, y, c)

    def bmp(self):
        """24-bit bottom-up BMP, 2835 pixels per metre (72 dpi)."""
        rows = bytearray()
        for y in range(self.height - 1, -1, -1):
            for r, g, b in self.px[y]:
                rows += bytes((b, g, r))
            rows += b"\0" * ((4 - (self.width * 3) % 4) % 4)
        offset = 14 + 40
        header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        return header + info + bytes(rows)


# ---- shared pieces -------------------------------------------------------------------------

def arrow_up(c, x, top, bottom, col):
    """A thick arrow pointing up, shaft centred on x and x+1."""
    c.polygon([(x - 3, top + 4), (x + 1, top), (x + 5, top + 4)], col)
    c.fill(x, top + 3, x + 1, bottom, col)


def arrow_down(c, x, top, bottom, col):
    c.polygon([(x - 3, bottom - 3), (x + 1, bottom + 1), (x + 5, bottom - 3)], col)
    c.fill(x, top, x + 1, bottom - 3, col)


def plus(c, x0, y0, size, col):
    mid = x0 + size // 2
    c.fill(x0, y0 + size // 2 - 1, x0 + size - 1, y0 + size // 2, col)
    c.fill(mid - 1, y0, mid, y0 + size - 1, col)


def minus(c, x0, y0, size, col):
    c.fill(x0, y0 + size // 2 - 1, x0 + size - 1, y0 + size // 2, col)


def page(c, x0, y0, x1, y1, lines=True):
    c.box(x0, y0, x1, y1, PAPER, DARK)
    if lines:
        for y in range(y0 + 2, y1 - 1, 2):
            c.hline(x0 + 2, x1 - 2, y, GREY)


def grid_rows(c, highlight=None, colour=SKY):
    """A small table of four rows, 1..14 wide; `highlight` fills one row (0..3)."""
    c.box(1, 1, 14, 14, PAPER, DARK)
    for i in range(4):
        top = 1 + i * 3
        if i == highlight:
            c.fill(2, top + 1, 13, top + 2, colour)
        if i:
            c.hline(1, 14, top, GREY)
    c.vline(5, 1, 13, GREY)


def magnifier(c, cx, cy, r, handle_to):
    c.circle(cx, cy, r, DARK, filled=SKY)
    hx, hy = handle_to
    s = int(round(cx + r * 0.75))
    t = int(round(cy + r * 0.75))
    c.line(s, t, hx, hy, BROWN)
    c.line(s + 1, t, hx, hy - 1, BROWN)
    c.line(s, t + 1, hx - 1, hy, BROWN)


def oblique_cube(c, mirrored, face):
    """A cube in oblique projection; `face` ("front", "top", "side") is filled."""
    def fx(x):
        return 15 - x if mirrored else x
    front = [(1, 5), (10, 5), (10, 14), (1, 14)]
    top = [(1, 5), (5, 1), (14, 1), (10, 5)]
    side = [(10, 5), (14, 1), (14, 10), (10, 14)]
    faces = {"front": front, "top": top, "side": side}
    for name, points in faces.items():
        pts = [(fx(x), y) for x, y in points]
        c.polygon(pts, BLUE if name == face else PAPER)
    for points in faces.values():
        c.outline([(fx(x), y) for x, y in points], NAVY)


# ---- the icons -----------------------------------------------------------------------------

def designer(c):
    """148: the dialog designer - a dialog with a title bar and a few controls."""
    c.box(0, 1, 15, 14, PAPER, DARK)
    c.fill(1, 2, 14, 4, NAVY)
    c.box(2, 6, 8, 8, LIGHT, GREY)
    c.box(2, 10, 8, 12, LIGHT, GREY)
    c.box(10, 6, 13, 12, SKY, BLUE)


def remove(c):
    """206: remove / delete the selection - a red minus."""
    minus(c, 2, 2, 12, RED)
    c.hline(2, 13, 6, (150, 20, 20))
    c.hline(2, 13, 9, (150, 20, 20))


def add(c):
    """212: add - a green plus."""
    plus(c, 2, 2, 12, GREEN)
    c.frame(6, 2, 9, 13, (10, 110, 30))
    c.frame(2, 6, 13, 9, (10, 110, 30))
    c.fill(7, 3, 8, 12, GREEN)
    c.fill(3, 7, 12, 8, GREEN)


def select_macro(c):
    """217: pick another macro - a choice of thumbnails with a pointer on one."""
    for x, y in ((1, 1), (8, 1), (1, 8)):
        c.box(x, y, x + 5, y + 5, PAPER, GREY)
        c.fill(x + 2, y + 2, x + 3, y + 3, STEEL)
    c.box(8, 8, 13, 13, SKY, BLUE)
    c.polygon([(10, 9), (10, 16), (12, 14), (14, 16), (15, 15), (13, 13), (16, 13)], BLACK)


def view_front(c):
    """218: view from the front."""
    oblique_cube(c, False, "front")


def view_top(c):
    """220: view from above."""
    oblique_cube(c, False, "top")


def view_right(c):
    """221: view from the right."""
    oblique_cube(c, False, "side")


def view_left(c):
    """222: view from the left - the cube drawn the other way round, its left side filled."""
    oblique_cube(c, True, "side")


def spare(c):
    """219, 229, 230: ids of the module's range without a button of their own - a plain button face."""
    c.box(2, 2, 13, 13, LIGHT, GREY)
    c.hline(3, 12, 3, PAPER)
    c.vline(3, 3, 12, PAPER)
    c.fill(7, 7, 8, 8, DARK)


def copy(c):
    """223: copy - two pages, one over the other."""
    page(c, 1, 1, 9, 11)
    page(c, 6, 4, 14, 14)


def paste(c):
    """224: paste - a clipboard with a page on it."""
    c.box(1, 2, 11, 14, OCHRE, BROWN)
    c.box(4, 1, 8, 3, LIGHT, DARK)
    page(c, 6, 6, 14, 15)


def insert_row(c):
    """225: insert an empty row below the selected one."""
    grid_rows(c, highlight=2, colour=(200, 235, 200))
    c.fill(9, 7, 14, 9, WHITE)
    plus(c, 10, 9, 6, GREEN)


def delete_row(c):
    """226: delete the selected row."""
    grid_rows(c, highlight=2, colour=(240, 190, 190))
    c.line(8, 7, 14, 13, RED)
    c.line(9, 7, 15, 13, RED)
    c.line(14, 7, 8, 13, RED)
    c.line(15, 7, 9, 13, RED)


def row_up(c):
    """227: move the selected row up."""
    grid_rows(c, highlight=2)
    c.fill(8, 1, 14, 14, PAPER)
    c.frame(1, 1, 14, 14, DARK)
    arrow_up(c, 10, 2, 13, GREEN)


def row_down(c):
    """228: move the selected row down."""
    grid_rows(c, highlight=1)
    c.fill(8, 1, 14, 14, PAPER)
    c.frame(1, 1, 14, 14, DARK)
    arrow_down(c, 10, 2, 13, GREEN)


def load_picture(c):
    """231: load a background picture - a framed landscape."""
    c.box(0, 2, 15, 14, SKY, BROWN)
    c.frame(1, 3, 14, 13, OCHRE)
    c.circle(11, 6, 2, ORANGE, filled=YELLOW)
    c.polygon([(2, 13), (6, 6), (10, 13)], GREEN)
    c.polygon([(7, 13), (10, 9), (14, 13)], (40, 110, 50))


def open_file(c):
    """232: open / read a file - a yellow folder with an arrow going in."""
    c.box(0, 5, 13, 14, YELLOW, OCHRE)
    c.box(0, 3, 5, 5, YELLOW, OCHRE)
    c.polygon([(3, 14), (5, 8), (16, 8), (14, 14)], (250, 220, 110))
    c.outline([(3, 14), (5, 8), (15, 8), (14, 14)], OCHRE)
    c.polygon([(9, 0), (14, 0), (14, 5)], BLUE)
    c.line(9, 5, 13, 1, BLUE)
    c.line(10, 5, 14, 1, BLUE)


def save_file(c):
    """233: save / write a file - a disk."""
    c.box(1, 1, 14, 14, NAVY, BLACK)
    c.box(4, 1, 11, 6, PAPER, DARK)
    c.fill(9, 2, 10, 5, NAVY)
    c.box(3, 9, 12, 14, LIGHT, DARK)


def zoom(c):
    """234: zoom - a magnifier."""
    magnifier(c, 6, 6, 4.5, (14, 14))
    c.hline(4, 8, 6, NAVY)
    c.vline(6, 4, 8, NAVY)


def dimension_h(c, y):
    c.vline(1, y - 3, y + 3, BLACK)
    c.vline(14, y - 3, y + 3, BLACK)
    c.hline(2, 13, y, BLACK)
    c.line(2, y, 4, y - 2, BLACK)
    c.line(2, y, 4, y + 2, BLACK)
    c.line(13, y, 11, y - 2, BLACK)
    c.line(13, y, 11, y + 2, BLACK)


def set_width(c):
    """235: set the width of the selected controls - a control with a width dimension."""
    c.box(1, 9, 14, 14, SKY, BLUE)
    dimension_h(c, 4)


def set_height(c):
    """236: set the height of the selected controls - a control with a height dimension."""
    c.box(9, 1, 14, 14, SKY, BLUE)
    c.hline(1, 7, 1, BLACK)
    c.hline(1, 7, 14, BLACK)
    c.vline(4, 2, 13, BLACK)
    c.line(4, 2, 2, 4, BLACK)
    c.line(4, 2, 6, 4, BLACK)
    c.line(4, 13, 2, 11, BLACK)
    c.line(4, 13, 6, 11, BLACK)


def clash_check(c):
    """237: clash checking on/off - two parts whose overlap is marked red."""
    c.box(1, 1, 9, 9, (200, 210, 225), STEEL)
    c.box(6, 6, 14, 14, (200, 210, 225), STEEL)
    c.fill(6, 6, 9, 9, RED)
    c.frame(1, 1, 9, 9, NAVY)
    c.frame(6, 6, 14, 14, NAVY)


def find_replace(c):
    """238: find and replace - a page of text under a magnifier."""
    page(c, 0, 0, 10, 13)
    magnifier(c, 9, 8, 3.5, (15, 15))


def filter_options(c):
    """241: show or hide the filter options - a funnel."""
    c.polygon([(1, 2), (15, 2), (9.5, 8), (9.5, 14), (6.5, 12), (6.5, 8)], STEEL)
    c.outline([(1, 2), (14, 2), (9, 8), (9, 14), (6, 12), (6, 8)], NAVY)
    c.hline(2, 13, 3, SKY)


def filter_hidden(c):
    """240: the filter options are hidden (a click shows them) - the funnel empty, a drop arrow beside it."""
    c.polygon([(1, 2), (12, 2), (7.5, 8), (7.5, 14), (5.5, 12), (5.5, 8)], PAPER)
    c.outline([(1, 2), (11, 2), (7, 8), (7, 14), (5, 12), (5, 8)], NAVY)
    c.polygon([(9, 9), (16, 9), (12.5, 14)], BLUE)


# id, file-name part, drawing
ICONS = [
    (148, "designer", designer),
    (206, "remove", remove),
    (212, "add", add),
    (217, "select-macro", select_macro),
    (218, "view-front", view_front),
    (219, "spare", spare),
    (220, "view-top", view_top),
    (221, "view-right", view_right),
    (222, "view-left", view_left),
    (223, "copy", copy),
    (224, "paste", paste),
    (225, "insert-row", insert_row),
    (226, "delete-row", delete_row),
    (227, "row-up", row_up),
    (228, "row-down", row_down),
    (229, "spare", spare),
    (230, "spare", spare),
    (231, "load-picture", load_picture),
    (232, "open-file", open_file),
    (233, "save-file", save_file),
    (234, "zoom", zoom),
    (235, "set-width", set_width),
    (236, "set-height", set_height),
    (237, "clash-check", clash_check),
    (238, "find-replace", find_replace),
    (240, "filter-hidden", filter_hidden),
    (241, "filter", filter_options),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "resources", "kestra_ss", "icons")
    out = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else default)
    os.makedirs(out, exist_ok=True)
    for number, name, draw in ICONS:
        canvas = Canvas()
        draw(canvas)
        path = os.path.join(out, "%d-%s.bmp" % (number, name))
        with open(path, "wb") as f:
            f.write(canvas.bmp())
        print(path)


if __name__ == "__main__":
    main()
