#!/usr/bin/env python3
"""Draws the section pictures of the section-type catalogue and writes them as 24-bit .bmp files.

For each section type 1 to 24 (library/prof/sections.cat) a big (96 x 96) and a small (32 x 32)
picture of a typical section of the type, drawn to scale from real dimensions (named below), on a
white background, which the dialogs show as transparent; plus "Unknown" for sections without a
picture. Output: resources/icons/<picture name>-big.bmp and -small.bmp, the icon folder the module
looks in. With --user-sections it also draws the two sample user sections of the library into
library/User Sections/<name>.bmp.

Thin walls are drawn at least 1.5 pixels thick so that cold-formed sections stay visible in the small
pictures; everything else keeps its proportions.

Usage: python3 tools/make_section_pictures.py [output-folder] [--user-sections FOLDER]
Only the Python standard library is used; the output is byte-for-byte reproducible.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_icons import Canvas, WHITE  # noqa: E402  (the shared drawing primitives)

STEEL = (80, 100, 125)
GREY = (150, 150, 150)


def offset_path(points, t):
    """The outline of a wall of thickness t along the open centre line points (mitred joins)."""
    def normal(a, b):
        dx, dy = b[0] - a[0], b[1] - a[1]
        n = math.hypot(dx, dy) or 1.0
        return (-dy / n, dx / n)

    left, right = [], []
    h = t / 2.0
    for i, p in enumerate(points):
        if i == 0:
            nx, ny = normal(points[0], points[1])
            scale = 1.0
        elif i == len(points) - 1:
            nx, ny = normal(points[-2], points[-1])
            scale = 1.0
        else:
            n1, n2 = normal(points[i - 1], p), normal(p, points[i + 1])
            mx, my = n1[0] + n2[0], n1[1] + n2[1]
            m = math.hypot(mx, my) or 1.0
            nx, ny = mx / m, my / m
            cos = nx * n1[0] + ny * n1[1]
            scale = 1.0 / max(cos, 0.3)
        left.append((p[0] + nx * h * scale, p[1] + ny * h * scale))
        right.append((p[0] - nx * h * scale, p[1] - ny * h * scale))
    return left + right[::-1]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def ellipse(cx, cy, rx, ry, n=72):
    return [(cx + rx * math.cos(2 * math.pi * k / n), cy + ry * math.sin(2 * math.pi * k / n)) for k in range(n)]


def i_section(h, b, tw, tf):
    return [[(-b / 2, 0), (b / 2, 0), (b / 2, tf), (tw / 2, tf), (tw / 2, h - tf), (b / 2, h - tf), (b / 2, h),
             (-b / 2, h), (-b / 2, h - tf), (-tw / 2, h - tf), (-tw / 2, tf), (-b / 2, tf)]]


# Each shape: a function of the least wall thickness (in mm) to draw, returning contours in mm, y up.
# Contours are filled with the even-odd rule, so a contour inside another is a hole.
SHAPES = {
    # 1 I and H sections: HE 200 A (h 190, b 200, tw 6.5, tf 10)
    "ProfSectionI": lambda w: i_section(190, 200, max(6.5, w), max(10, w)),
    # 2 cold-formed angle 80 x 80 x 3
    "ProfSectionCL": lambda w: [offset_path([(0, 80), (0, 0), (80, 0)], max(3, w))],
    # 3 angle L 100 x 100 x 10
    "ProfSectionHL": lambda w: [[(0, 0), (100, 0), (100, 10), (10, 10), (10, 100), (0, 100)]],
    # 4 channel UPN 200 (h 200, b 75, tw 8.5, tf 11.5)
    "ProfSectionCU": lambda w: [[(0, 0), (75, 0), (75, 11.5), (8.5, 11.5), (8.5, 188.5), (75, 188.5), (75, 200),
                                 (0, 200)]],
    # 5 T section T 100 (h 100, b 100, t 11)
    "ProfSectionT": lambda w: [[(-50, 100), (50, 100), (50, 89), (5.5, 89), (5.5, 0), (-5.5, 0), (-5.5, 89),
                                (-50, 89)]],
    # 6 welded I girder: h 600, b 300, tw 10, tf 20
    "ProfSectionOI": lambda w: i_section(600, 300, max(10, w), max(20, w)),
    # 7 cold-formed channel 150 x 60 x 4
    "ProfSectionOU": lambda w: [offset_path([(60, 150), (0, 150), (0, 0), (60, 0)], max(4, w))],
    # 8 flat bar 100 x 10
    "ProfSectionRect": lambda w: [rect(0, 0, 100, 10)],
    # 9 round bar d 40
    "ProfSectionRound": lambda w: [ellipse(0, 0, 20, 20)],
    # 10 rectangular hollow section 150 x 100 x 8
    "ProfSectionRectTube": lambda w: [rect(0, 0, 100, 150), rect(max(8, w), max(8, w), 100 - max(8, w),
                                                                 150 - max(8, w))],
    # 11 circular hollow section 168.3 x 8
    "ProfSectionRoundTube": lambda w: [ellipse(0, 0, 84.15, 84.15), ellipse(0, 0, 84.15 - max(8, w),
                                                                          84.15 - max(8, w))],
    # 12 lipped channel 200 x 70 x 20 x 2.5
    "ProfSectionC": lambda w: [offset_path([(70, 180), (70, 200), (0, 200), (0, 0), (70, 0), (70, 20)],
                                           max(2.5, w))],
    # 13 Z section 200 x 70 x 20 x 2.5
    "ProfSectionZ": lambda w: [offset_path([(-70, 180), (-70, 200), (0, 200), (0, 0), (70, 0), (70, 20)],
                                           max(2.5, w))],
    # 14 V section 100 x 100 x 3 (two legs at 90 degrees)
    "ProfSectionV": lambda w: [offset_path([(-50, 100), (0, 50), (50, 100)], max(3, w))],
    # 15 elliptical hollow section 200 x 100 x 8
    "ProfSectionO": lambda w: [ellipse(0, 0, 100, 50), ellipse(0, 0, 100 - max(8, w), 50 - max(8, w))],
    # 16 square bar 40
    "ProfSectionQ": lambda w: [rect(0, 0, 40, 40)],
    # 17 cut I section: half an IPE 300 (h 150, b 150, tw 7.1, tf 10.7)
    "ProfSectionCuttedI": lambda w: [[(-75, 150), (75, 150), (75, 139.3), (3.55, 139.3), (3.55, 0), (-3.55, 0),
                                      (-3.55, 139.3), (-75, 139.3)]],
    # 18 sigma section 200 x 62.5 x 2.5, web stiffened inwards
    "ProfSectionSigma": lambda w: [offset_path([(62.5, 180), (62.5, 200), (0, 200), (0, 140), (15, 120), (15, 80),
                                                (0, 60), (0, 0), (62.5, 0), (62.5, 20)], max(2.5, w))],
    # 19 reinforced sigma section: the same with returned lips
    "ProfSectionSigma+": lambda w: [offset_path([(50, 185), (62.5, 185), (62.5, 200), (0, 200), (0, 140),
                                                 (15, 120), (15, 80), (0, 60), (0, 0), (62.5, 0), (62.5, 15),
                                                 (50, 15)], max(2.5, w))],
    # 20 sigma sleeve: a sleeve of 2.5 mm around a sigma section's web
    "ProfSectionSigma Sleeve": lambda w: [offset_path([(55, 200), (0, 200), (0, 140), (15, 120), (15, 80), (0, 60),
                                                       (0, 0), (55, 0)], max(2.5, w)),
                                          offset_path([(55, 208), (-8, 208), (-8, -8), (55, -8)], max(2, w))],
    # 21 reinforced lipped channel 200 x 70 x 20 x 2.5 with returned lips
    "ProfSectionC+": lambda w: [offset_path([(55, 185), (70, 185), (70, 200), (0, 200), (0, 0), (70, 0), (70, 15),
                                             (55, 15)], max(2.5, w))],
    # 22 C sleeve: a lipped channel with a sleeve around its web
    "ProfSectionC Sleeve": lambda w: [offset_path([(70, 180), (70, 200), (0, 200), (0, 0), (70, 0), (70, 20)],
                                                  max(2.5, w)),
                                      offset_path([(45, 208), (-8, 208), (-8, -8), (45, -8)], max(2, w))],
    # 23 single cleat: angle 80 x 80 x 8
    "ProfSectionSingle Cleat": lambda w: [[(0, 0), (80, 0), (80, 8), (8, 8), (8, 80), (0, 80)]],
    # 24 double cleat: two angles 80 x 80 x 8 back to back, 10 mm apart
    "ProfSectionDouble Cleat": lambda w: [[(5, 0), (85, 0), (85, 8), (13, 8), (13, 80), (5, 80)],
                                          [(-5, 0), (-85, 0), (-85, 8), (-13, 8), (-13, 80), (-5, 80)]],
}

# The library's two sample user sections.
USER_SECTIONS = {
    # two channels UPN 200 back to back, 10 mm apart
    "2 UPN 200": lambda w: [[(5, 0), (80, 0), (80, 11.5), (13.5, 11.5), (13.5, 188.5), (80, 188.5), (80, 200),
                             (5, 200)],
                            [(-5, 0), (-80, 0), (-80, 11.5), (-13.5, 11.5), (-13.5, 188.5), (-80, 188.5),
                             (-80, 200), (-5, 200)]],
    # a box girder of two plates 300 x 15 and two webs 400 x 10
    "Box 300x430": lambda w: [rect(-150, 0, 150, 430), rect(-130, 15, 130, 415),
                              rect(-140, 15, -130, 415), rect(130, 15, 140, 415)],
}


def contains(contours, px, py):
    inside = False
    for points in contours:
        n = len(points)
        for i in range(n):
            xa, ya = points[i]
            xb, yb = points[(i + 1) % n]
            if (ya > py) != (yb > py):
                if px < xa + (py - ya) * (xb - xa) / (yb - ya):
                    inside = not inside
    return inside


def draw(shape, size):
    margin = 3 if size >= 64 else 2
    nominal = shape(0)
    xs = [x for c in nominal for x, _ in c]
    ys = [y for c in nominal for _, y in c]
    span = max(max(xs) - min(xs), max(ys) - min(ys))
    scale = (size - 2 * margin) / span
    contours = shape(1.5 / scale)
    xs = [x for c in contours for x, _ in c]
    ys = [y for c in contours for _, y in c]
    cx, cy = (max(xs) + min(xs)) / 2, (max(ys) + min(ys)) / 2
    scale = min((size - 2 * margin) / (max(xs) - min(xs)), (size - 2 * margin) / (max(ys) - min(ys)))
    canvas = Canvas(size, size, WHITE)
    pixels = [[(size / 2 + (x - cx) * scale, size / 2 - (y - cy) * scale) for x, y in c] for c in contours]
    inside = [[contains(pixels, x + 0.5, y + 0.5) for x in range(size)] for y in range(size)]
    for y in range(size):
        for x in range(size):
            if inside[y][x]:
                canvas.dot(x, y, STEEL)
    return canvas


def unknown(size):
    canvas = Canvas(size, size, WHITE)
    m = 3 if size >= 64 else 2
    for k in range(m, size - m, 4):
        canvas.hline(k, min(k + 1, size - m - 1), m, GREY)
        canvas.hline(k, min(k + 1, size - m - 1), size - m - 1, GREY)
        canvas.vline(m, k, min(k + 1, size - m - 1), GREY)
        canvas.vline(size - m - 1, k, min(k + 1, size - m - 1), GREY)
    canvas.line(m + 2, m + 2, size - m - 3, size - m - 3, GREY)
    canvas.line(m + 2, size - m - 3, size - m - 3, m + 2, GREY)
    return canvas


def write(path, canvas):
    with open(path, "wb") as f:
        f.write(canvas.bmp())


def main():
    args = sys.argv[1:]
    users = None
    if "--user-sections" in args:
        i = args.index("--user-sections")
        users = args[i + 1]
        del args[i:i + 2]
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = args[0] if args else os.path.join(root, "resources", "icons")
    os.makedirs(out, exist_ok=True)
    for name, shape in SHAPES.items():
        write(os.path.join(out, name + "-big.bmp"), draw(shape, 96))
        write(os.path.join(out, name + "-small.bmp"), draw(shape, 32))
    write(os.path.join(out, "Unknown-big.bmp"), unknown(96))
    write(os.path.join(out, "Unknown-small.bmp"), unknown(32))
    if users is not None:
        os.makedirs(users, exist_ok=True)
        for name, shape in USER_SECTIONS.items():
            write(os.path.join(users, name + ".bmp"), draw(shape, 96))


if __name__ == "__main__":
    main()
