#!/usr/bin/env python3
"""Draws the library's pictures that the macro and constraint dialogs show, as 24-bit .bmp files.

    cut types (48 x 32)           CutProfvsPlate, CutProfvsProf, CutProfinProf,
                                  CutProfvsProf3Segments, CutChamfer, CutFillet
    bolt (160 x 120)              DrawBolt2: an M20 bolt through two 15 mm plates
    macro filters (160 x 120)     MacroFilterAngle90, MacroFilterAngle180, MacroFilterSectionAngle,
                                  MacroFilterPathDistance, MacroFilterSectionSize
    constraint commands (32 x 32) Parallel, Perpendicular, Coincident, Symmetric, Tangent,
                                  Concentric, EqualRadius, Distance, Angle, Radius, AddModule,
                                  BoltPattern, CoordSys

White (0xFFFFFF) is the transparent colour, so the drawings never use pure white themselves. Steel
is drawn to scale where its shape tells something: the sections are an HEA 200 (190 x 200 mm,
flanges 10, web 6.5) and an IPE 200 (200 x 100 mm, flanges 8.5, web 5.6), the bolt an M20 with its
ISO 4014 head (30 across flats, 12.5 high), an ISO 4032 nut (18 high) and ISO 7089 washers (37 x 3).

Usage: python3 tools/make_library_pictures.py [output-folder]   (default: library/icons)
Only the Python standard library is used; the output is byte-for-byte reproducible. See
docs/library-pictures.md.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_icons import Canvas, WHITE  # noqa: E402  (the shared drawing primitives)

# Palette (r, g, b). Nothing here is pure white.
BLACK = (0, 0, 0)
DARK = (64, 64, 64)
GREY = (128, 128, 128)
LIGHT = (200, 200, 200)
PAPER = (244, 244, 236)
STEEL = (150, 168, 188)      # a profile seen from the side
STEEL_CUT = (96, 118, 142)   # a profile cut through (its section)
EDGE = (30, 45, 70)          # outlines of steel
PLATE = (176, 186, 160)
PLATE_EDGE = (70, 85, 50)
BOLT = (120, 120, 126)
BOLT_EDGE = (40, 40, 44)
RED = (200, 30, 30)
GREEN = (20, 150, 40)
BLUE = (30, 80, 200)
NAVY = (20, 40, 120)
ORANGE = (230, 120, 20)
DIM = (160, 40, 40)          # dimension lines
AXIS = (90, 90, 160)         # centre lines


class Picture(Canvas):
    """The icon generator's canvas with what larger drawings need: thick and dashed lines, arcs,
    arrowheads and hatching. Coordinates are pixels, y down."""

    def thick(self, x0, y0, x1, y1, c, width=2):
        """A line `width` pixels wide, as a filled quadrilateral."""
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * width / 2.0, dx / length * width / 2.0
        cx0, cy0, cx1, cy1 = x0 + 0.5, y0 + 0.5, x1 + 0.5, y1 + 0.5
        self.polygon([(cx0 + nx, cy0 + ny), (cx1 + nx, cy1 + ny), (cx1 - nx, cy1 - ny), (cx0 - nx, cy0 - ny)], c)
        self.line(x0, y0, x1, y1, c)

    def dashed(self, x0, y0, x1, y1, c, pattern=(6, 2, 1, 2)):
        """A dash-dot (centre) line by default."""
        length = math.hypot(x1 - x0, y1 - y0)
        if length == 0:
            return
        ux, uy = (x1 - x0) / length, (y1 - y0) / length
        t, i, on = 0.0, 0, True
        while t < length:
            step = pattern[i % len(pattern)]
            if on:
                end = min(t + step, length)
                s = t
                while s <= end:
                    self.dot(int(round(x0 + ux * s)), int(round(y0 + uy * s)), c)
                    s += 0.5
            t += step
            i += 1
            on = not on

    def arc(self, cx, cy, r, start, end, c):
        """Circle arc from angle `start` to `end` in degrees, counter-clockwise as seen (y up)."""
        steps = max(8, int(abs(end - start) / 180.0 * math.pi * r * 2))
        for k in range(steps + 1):
            a = math.radians(start + (end - start) * k / steps)
            self.dot(int(round(cx + r * math.cos(a))), int(round(cy - r * math.sin(a))), c)

    def arrowhead(self, x, y, angle, c, length=6, half_width=2.5):
        """A filled arrowhead with its tip at (x, y), pointing in direction `angle` (degrees, y up)."""
        a = math.radians(angle)
        ux, uy = math.cos(a), -math.sin(a)
        bx, by = x + 0.5 - ux * length, y + 0.5 - uy * length
        self.polygon([(x + 0.5 + ux * 0.8, y + 0.5 + uy * 0.8), (bx - uy * half_width, by + ux * half_width),
                      (bx + uy * half_width, by - ux * half_width)], c)

    def hatch(self, x0, y0, x1, y1, c, spacing=4, rising=True):
        """45-degree hatching inside a rectangle (a part cut through); neighbouring parts are hatched
        the other way (rising False)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if ((x + y) if rising else (x - y)) % spacing == 0:
                    self.dot(x, y, c)

    def dimension(self, x0, y0, x1, y1, c, extension=True):
        """A dimension line between two points with arrowheads at both ends."""
        self.line(x0, y0, x1, y1, c)
        angle = math.degrees(math.atan2(-(y1 - y0), x1 - x0))
        self.arrowhead(x1, y1, angle, c, 5, 2)
        self.arrowhead(x0, y0, angle + 180, c, 5, 2)


# ---- steel shapes ------------------------------------------------------------------------------

def i_section(p, cx, cy, h, b, tf, tw, scale, fill=STEEL_CUT, edge=EDGE, angle=0.0):
    """An I-section (h x b mm, flanges tf, web tw) centred on (cx, cy), `scale` pixels per mm,
    turned by `angle` degrees (counter-clockwise as seen)."""
    hh, hb, hw = h / 2.0, b / 2.0, tw / 2.0
    outline = [(-hb, -hh), (hb, -hh), (hb, -hh + tf), (hw, -hh + tf), (hw, hh - tf), (hb, hh - tf),
               (hb, hh), (-hb, hh), (-hb, hh - tf), (-hw, hh - tf), (-hw, -hh + tf), (-hb, -hh + tf)]
    a = math.radians(angle)
    ca, sa = math.cos(a), math.sin(a)
    pts = [(cx + 0.5 + (x * ca + y * sa) * scale, cy + 0.5 + (-x * sa + y * ca) * scale) for x, y in outline]
    p.polygon(pts, fill)
    p.outline([(int(round(x - 0.5)), int(round(y - 0.5))) for x, y in pts], edge)


def beam_side(p, x0, x1, top, height, flange, fill=STEEL, edge=EDGE):
    """A horizontal I-profile seen from the side: a band with its two flange lines."""
    p.box(x0, top, x1, top + height, fill, edge)
    p.hline(x0, x1, top + flange, edge)
    p.hline(x0, x1, top + height - flange, edge)


def column_side(p, left, width, y0, y1, flange, fill=STEEL, edge=EDGE):
    """A vertical I-profile seen from the side (its flanges left and right)."""
    p.box(left, y0, left + width, y1, fill, edge)
    p.vline(left + flange, y0, y1, edge)
    p.vline(left + width - flange, y0, y1, edge)


def cut_line(p, points):
    """The cut, drawn red over the profile's end."""
    for (xa, ya), (xb, yb) in zip(points, points[1:]):
        p.line(xa, ya, xb, yb, RED)


# ---- cut types, 48 x 32 ------------------------------------------------------------------------
# An IPE 200 beam from the side at 0.1 px/mm: 20 px high, flanges 1 px (drawn as lines).

def cut_prof_vs_plate(p):
    """Type 1: a beam cut square against a plate (an end plate)."""
    p.box(36, 2, 40, 29, PLATE, PLATE_EDGE)
    p.hatch(37, 3, 39, 28, PLATE_EDGE, 3)
    beam_side(p, 2, 35, 6, 20, 2)
    cut_line(p, [(35, 5), (35, 27)])


def cut_prof_vs_prof(p):
    """Type 2: a beam cut against the flange of a column."""
    column_side(p, 31, 19, 0, 31, 2)
    beam_side(p, 1, 30, 6, 20, 2)
    cut_line(p, [(30, 5), (30, 27)])


def cut_prof_in_prof(p):
    """Type 3: a beam that runs into another profile between its flanges, cut to the inside of that
    profile: an HEA 200 column end on (flanges top and bottom, 0.14 px/mm) and an IPE 160 beam from the
    side, its end cut against the column's web."""
    i_section(p, 12, 15, 190, 200, 10, 6.5, 0.14)
    beam_side(p, 13, 46, 5, 21, 1)
    p.vline(12, 5, 26, STEEL_CUT)
    cut_line(p, [(13, 5), (13, 26)])


def cut_prof_vs_prof_3_segments(p):
    """Type 4: a beam end cut along three segments (around the corner of another profile)."""
    column_side(p, 33, 14, 0, 31, 2)
    p.polygon([(2, 6), (25, 6), (25, 12), (32, 12), (32, 27), (2, 27)], STEEL)
    p.outline([(1, 5), (25, 5), (25, 11), (32, 11), (32, 26), (1, 26)], EDGE)
    p.hline(2, 24, 7, EDGE)
    p.hline(2, 31, 24, EDGE)
    cut_line(p, [(25, 5), (25, 11), (32, 11), (32, 26)])


def cut_chamfer(p):
    """Type 5: a profile end with its top corner chamfered."""
    p.polygon([(2, 6), (33.5, 6), (46, 16.5), (46, 27), (2, 27)], STEEL)
    p.outline([(1, 5), (33, 5), (45, 15), (45, 26), (1, 26)], EDGE)
    p.hline(2, 34, 7, EDGE)
    p.hline(2, 44, 24, EDGE)
    cut_line(p, [(33, 5), (45, 15)])


def cut_fillet(p):
    """Type 6: a profile end with its top corner rounded."""
    r = 11
    cx, cy = 45 - r, 5 + r
    pts = [(2, 6), (cx, 6)]
    for k in range(0, 91, 10):
        a = math.radians(90 - k)
        pts.append((cx + 0.5 + r * math.cos(a), cy + 0.5 - r * math.sin(a)))
    pts += [(45.5, 27), (2, 27)]
    p.polygon(pts, STEEL)
    p.hline(1, cx, 5, EDGE)
    p.vline(1, 5, 26, EDGE)
    p.hline(1, 45, 26, EDGE)
    p.vline(45, cy, 26, EDGE)
    p.arc(cx, cy, r, 0, 90, RED)
    p.hline(2, cx, 7, EDGE)
    p.hline(2, 44, 24, EDGE)


# ---- the bolt, 160 x 120 -----------------------------------------------------------------------

def draw_bolt(p):
    """An M20 bolt through two 15 mm plates, cut along its axis, at 2 px per mm: head 12.5 high and
    30 across flats, washers 37 x 3, plates with a 22 mm hole, nut 18 high, 6 mm of thread showing."""
    s = 2.0
    axis = 60
    x = 8                        # left end of the head
    head, washer, plate, nut = 12.5, 3, 15, 18

    def px(mm):
        return int(round(x + mm * s))

    def half(mm):
        return int(round(mm * s / 2.0))

    # Plates, cut through (hatched), with the hole.
    p0, p1, p2 = px(head + washer), px(head + washer + plate), px(head + washer + 2 * plate)
    for a, b, colour, rising in ((p0, p1 - 1, PLATE, True), (p1, p2, (196, 204, 182), False)):
        p.box(a, 8, b, 111, colour, PLATE_EDGE)
        p.hatch(a + 1, 9, b - 1, 110, PLATE_EDGE, 5, rising)
    p.fill(p0, axis - half(22), p2, axis + half(22), WHITE)
    p.frame(p0, 8, p2, 111, PLATE_EDGE)
    p.vline(p1 - 1, 8, 111, PLATE_EDGE)

    # Shank through the hole.
    end = px(head + 2 * washer + 2 * plate + nut + 6)
    p.box(px(head), axis - half(20), end, axis + half(20), BOLT, BOLT_EDGE)
    # Thread lines (minor diameter 17.3) from the nut side into the plates.
    for y in (axis - half(17.3), axis + half(17.3)):
        p.hline(px(head + washer + 2 * plate - 8), end - 1, y, BOLT_EDGE)

    # Head: across corners 33 seen from the side, with the chamfer lines of a hexagon.
    p.box(x, axis - half(33), px(head), axis + half(33), BOLT, BOLT_EDGE)
    for y in (axis - half(15), axis + half(15)):
        p.hline(x + 1, px(head) - 1, y, BOLT_EDGE)
    # Washers under the head and the nut.
    p.box(px(head), axis - half(37), px(head + washer), axis + half(37), LIGHT, BOLT_EDGE)
    w1 = head + washer + 2 * plate
    p.box(px(w1), axis - half(37), px(w1 + washer), axis + half(37), LIGHT, BOLT_EDGE)
    # Nut.
    n0 = w1 + washer
    p.box(px(n0), axis - half(33), px(n0 + nut), axis + half(33), BOLT, BOLT_EDGE)
    for y in (axis - half(15), axis + half(15)):
        p.hline(px(n0) + 1, px(n0 + nut) - 1, y, BOLT_EDGE)

    # Centre line over the whole length.
    p.dashed(2, axis, 157, axis, AXIS)
    # Grip: the clamped length (washers and plates), dimensioned below.
    p.vline(px(head), axis + half(37) + 2, 116, DIM)
    p.vline(px(w1 + washer), axis + half(37) + 2, 116, DIM)
    p.dimension(px(head) + 1, 114, px(w1 + washer) - 1, 114, DIM)


# ---- macro filters, 160 x 120 ------------------------------------------------------------------
# Profiles from the side at 0.35 px/mm: an HEA 200 column 190 mm deep -> 66 px, an IPE 200 beam 200
# mm high -> 70 px; flanges 10 and 8.5 mm -> 3 px.

def angle_mark(p, cx, cy, r, start, end, colour=RED):
    p.arc(cx, cy, r, start, end, colour)
    p.arc(cx, cy, r + 1, start, end, colour)


def filter_angle_90(p):
    """Two profiles meeting at a right angle (a column and a beam), the angle marked."""
    column_side(p, 14, 66, 4, 115, 3)
    beam_side(p, 81, 156, 20, 70, 3)
    p.dashed(47, 2, 47, 117, AXIS)
    p.dashed(48, 55, 158, 55, AXIS)
    angle_mark(p, 47, 55, 22, 0, 90)
    p.fill(52, 50, 53, 51, RED)


def filter_angle_180(p):
    """Two beams in line (a splice), the straight angle between their axes marked."""
    beam_side(p, 4, 76, 25, 70, 3)
    beam_side(p, 84, 156, 25, 70, 3)
    p.box(72, 18, 88, 102, PLATE, PLATE_EDGE)
    for bx in (76, 84):
        for by in (40, 60, 80):
            p.circle(bx, by, 2, BOLT_EDGE, filled=BOLT)
    p.dashed(2, 60, 158, 60, AXIS)
    angle_mark(p, 80, 60, 24, 0, 180)


def filter_section_angle(p):
    """Two sections seen end on, their webs at an angle to each other (30 degrees marked)."""
    i_section(p, 52, 64, 200, 100, 8.5, 5.6, 0.45)
    i_section(p, 112, 60, 200, 100, 8.5, 5.6, 0.45, fill=STEEL, angle=-30)
    p.dashed(52, 8, 52, 116, AXIS)
    a = math.radians(-30)
    p.dashed(112 - 56 * math.sin(a), 60 - 56 * math.cos(a), 112 + 56 * math.sin(a), 60 + 56 * math.cos(a), AXIS)
    p.dashed(112, 8, 112, 116, AXIS)
    angle_mark(p, 112, 60, 40, 60, 90)


def filter_path_distance(p):
    """Two profiles whose ends are a distance apart along their common path, that distance dimensioned."""
    beam_side(p, 4, 60, 30, 70, 3)
    column_side(p, 100, 56, 4, 115, 3)
    p.dashed(2, 65, 158, 65, AXIS)
    p.vline(60, 16, 28, DIM)
    p.dimension(61, 20, 99, 20, DIM)
    p.dot(100, 20, DIM)


def filter_section_size(p):
    """An HEA 200 end on (190 x 200 mm, flanges 10, web 6.5) at 0.45 px/mm, height and width
    dimensioned."""
    cx, cy, scale = 86, 64, 0.45
    i_section(p, cx, cy, 190, 200, 10, 6.5, scale)
    hh, hb = int(round(95 * scale)), int(round(100 * scale))
    # Height on the left, width below.
    p.hline(cx - hb - 12, cx - hb - 2, cy - hh, DIM)
    p.hline(cx - hb - 12, cx - hb - 2, cy + hh, DIM)
    p.dimension(cx - hb - 8, cy - hh + 1, cx - hb - 8, cy + hh - 1, DIM)
    p.vline(cx - hb, cy + hh + 2, cy + hh + 12, DIM)
    p.vline(cx + hb, cy + hh + 2, cy + hh + 12, DIM)
    p.dimension(cx - hb + 1, cy + hh + 8, cx + hb - 1, cy + hh + 8, DIM)


# ---- constraint commands, 32 x 32 --------------------------------------------------------------

def parallel(p):
    p.thick(4, 24, 20, 4, NAVY)
    p.thick(12, 28, 28, 8, NAVY)
    p.thick(13, 14, 17, 18, RED, 1)
    p.thick(16, 11, 20, 15, RED, 1)


def perpendicular(p):
    p.thick(4, 27, 28, 27, NAVY)
    p.thick(10, 4, 10, 27, NAVY)
    p.frame(11, 19, 17, 25, RED)


def coincident(p):
    p.thick(3, 26, 16, 14, NAVY)
    p.thick(16, 14, 29, 22, BLUE)
    p.circle(16, 14, 3, RED, filled=RED)


def symmetric(p):
    p.dashed(16, 2, 16, 30, AXIS, (4, 2, 1, 2))
    for x in (7, 25):
        p.circle(x, 16, 3, NAVY, filled=BLUE)
    p.line(10, 16, 13, 16, RED)
    p.line(19, 16, 22, 16, RED)
    p.arrowhead(13, 16, 0, RED, 3, 2)
    p.arrowhead(19, 16, 180, RED, 3, 2)


def tangent(p):
    p.circle(13, 17, 9, NAVY, filled=(200, 215, 240))
    p.thick(2, 8, 30, 8, BLUE)
    p.circle(13, 8, 2, RED, filled=RED)


def concentric(p):
    p.circle(16, 16, 13, NAVY)
    p.circle(16, 16, 7, BLUE, filled=(200, 215, 240))
    p.hline(13, 19, 16, RED)
    p.vline(16, 13, 19, RED)


def equal_radius(p):
    p.circle(9, 12, 6, NAVY, filled=(200, 215, 240))
    p.circle(23, 12, 6, NAVY, filled=(200, 215, 240))
    p.line(9, 12, 13, 8, RED)
    p.line(23, 12, 27, 8, RED)
    p.fill(10, 23, 22, 24, RED)
    p.fill(10, 27, 22, 28, RED)


def distance(p):
    for x in (5, 26):
        p.circle(x, 22, 2, NAVY, filled=BLUE)
        p.vline(x, 8, 18, DIM)
    p.dimension(6, 12, 25, 12, DIM)


def angle(p):
    p.thick(4, 27, 29, 27, NAVY)
    p.thick(4, 27, 25, 6, NAVY)
    p.arc(4, 27, 15, 0, 45, RED)
    p.arc(4, 27, 16, 0, 45, RED)


def radius(p):
    p.circle(14, 17, 12, NAVY, filled=(200, 215, 240))
    p.circle(14, 17, 1, NAVY, filled=NAVY)
    p.line(14, 17, 22, 9, RED)
    p.arrowhead(22, 9, 45, RED, 5, 2)


def add_module(p):
    p.box(2, 6, 21, 29, PLATE, PLATE_EDGE)
    for x, y in ((7, 11), (16, 11), (7, 24), (16, 24)):
        p.circle(x, y, 2, BOLT_EDGE, filled=BOLT)
    p.fill(20, 2, 29, 13, WHITE)
    p.fill(23, 2, 26, 13, GREEN)
    p.fill(19, 6, 30, 9, GREEN)


def bolt_pattern(p):
    p.box(3, 2, 28, 29, PLATE, PLATE_EDGE)
    for x in (10, 21):
        for y in (8, 16, 24):
            p.circle(x, y, 3, BOLT_EDGE, filled=BOLT)
    p.dashed(10, 3, 10, 28, AXIS, (3, 1))
    p.dashed(21, 3, 21, 28, AXIS, (3, 1))


def coord_sys(p):
    ox, oy = 9, 23
    p.thick(ox, oy, 28, oy, RED)
    p.arrowhead(30, oy, 0, RED, 5, 3)
    p.thick(ox, oy, ox, 5, GREEN)
    p.arrowhead(ox, 2, 90, GREEN, 5, 3)
    p.thick(ox, oy, 2, 30, BLUE)
    p.circle(ox, oy, 2, DARK, filled=DARK)


# name, size, drawing
PICTURES = [
    ("CutProfvsPlate", (48, 32), cut_prof_vs_plate),
    ("CutProfvsProf", (48, 32), cut_prof_vs_prof),
    ("CutProfinProf", (48, 32), cut_prof_in_prof),
    ("CutProfvsProf3Segments", (48, 32), cut_prof_vs_prof_3_segments),
    ("CutChamfer", (48, 32), cut_chamfer),
    ("CutFillet", (48, 32), cut_fillet),
    ("DrawBolt2", (160, 120), draw_bolt),
    ("MacroFilterAngle90", (160, 120), filter_angle_90),
    ("MacroFilterAngle180", (160, 120), filter_angle_180),
    ("MacroFilterSectionAngle", (160, 120), filter_section_angle),
    ("MacroFilterPathDistance", (160, 120), filter_path_distance),
    ("MacroFilterSectionSize", (160, 120), filter_section_size),
    ("Parallel", (32, 32), parallel),
    ("Perpendicular", (32, 32), perpendicular),
    ("Coincident", (32, 32), coincident),
    ("Symmetric", (32, 32), symmetric),
    ("Tangent", (32, 32), tangent),
    ("Concentric", (32, 32), concentric),
    ("EqualRadius", (32, 32), equal_radius),
    ("Distance", (32, 32), distance),
    ("Angle", (32, 32), angle),
    ("Radius", (32, 32), radius),
    ("AddModule", (32, 32), add_module),
    ("BoltPattern", (32, 32), bolt_pattern),
    ("CoordSys", (32, 32), coord_sys),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "library", "icons")
    out = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else default)
    os.makedirs(out, exist_ok=True)
    for name, (width, height), draw in PICTURES:
        picture = Picture(width, height, WHITE)
        draw(picture)
        path = os.path.join(out, name + ".bmp")
        with open(path, "wb") as f:
            f.write(picture.bmp())
        print(path)


if __name__ == "__main__":
    main()
