#!/usr/bin/env python3
"""Draws Kovadle's application icon: a white play sign inside a quality dial (an
orange arc on a pale track, open at the bottom) on a blue rounded square.

Writes packaging/icons/hicolor/<N>x<N>/apps/kovadle.png for the desktop's icon
theme and icon/kovadle.png (256 x 256), the window's own icon. Each size is drawn
from the shapes, not scaled down, with supersampling for smooth edges. Plain Python
(zlib + struct), as scripts/make_menu_icon.py.
"""
import math
import os
import sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_writer import png  # noqa: E402

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
# Shapes in a unit square, y downwards.
MARGIN = 1.0 / 16
RADIUS = 0.2
TOP = (0x2A, 0x8C, 0xE0)
BOTTOM = (0x00, 0x5A, 0x9E)
WHITE = (0xFF, 0xFF, 0xFF)
ORANGE = (0xFF, 0x97, 0x32)
RING_OUT, RING_IN = 0.37, 0.27
DIAL_START, DIAL_SPAN, DIAL_VALUE = 135.0, 270.0, 0.72  # degrees clockwise from +x
TRACK_ALPHA = 0.35
TRIANGLE = [(0.42, 0.36), (0.42, 0.64), (0.66, 0.5)]


def inside_rounded_square(x, y):
    low, high = MARGIN + RADIUS, 1 - MARGIN - RADIUS
    if not (MARGIN <= x <= 1 - MARGIN and MARGIN <= y <= 1 - MARGIN):
        return False
    cx = min(max(x, low), high)
    cy = min(max(y, low), high)
    return (x - cx) ** 2 + (y - cy) ** 2 <= RADIUS ** 2


def inside_triangle(x, y):
    def side(a, b):
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])

    a, b, c = TRIANGLE
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def dial_part(x, y):
    """None outside the dial's ring, else the fraction of the dial at this point."""
    dx, dy = x - 0.5, y - 0.5
    if not RING_IN ** 2 <= dx * dx + dy * dy <= RING_OUT ** 2:
        return None
    angle = math.degrees(math.atan2(dy, dx))
    t = ((angle - DIAL_START) % 360.0) / DIAL_SPAN
    return t if t <= 1.0 else None


def blend(under, over, alpha):
    return tuple(u + (o - u) * alpha for u, o in zip(under, over))


def sample(x, y):
    """Colour and coverage (0 or 1) of one sample point."""
    if not inside_rounded_square(x, y):
        return (0.0, 0.0, 0.0), 0.0
    colour = blend(TOP, BOTTOM, (y - MARGIN) / (1 - 2 * MARGIN))
    part = dial_part(x, y)
    if part is not None:
        colour = ORANGE if part <= DIAL_VALUE else blend(colour, WHITE, TRACK_ALPHA)
    if inside_triangle(x, y):
        colour = WHITE
    return colour, 1.0


def pixel(size, samples, px, py):
    red = green = blue = cover = 0.0
    for sy in range(samples):
        for sx in range(samples):
            colour, alpha = sample((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
            red += colour[0] * alpha
            green += colour[1] * alpha
            blue += colour[2] * alpha
            cover += alpha
    if cover == 0:
        return (0, 0, 0, 0)
    return (round(red / cover), round(green / cover), round(blue / cover), round(255 * cover / samples ** 2))



def draw(size):
    # Small icons need more samples per pixel for their thin ring.
    samples = 8 if size <= 32 else 4
    rows = [[pixel(size, samples, x, y) for x in range(size)] for y in range(size)]
    return png(size, size, rows)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    for size in SIZES:
        data = draw(size)
        folder = "%dx%d" % (size, size)
        write(os.path.join(root, "packaging", "icons", "hicolor", folder, "apps", "kovadle.png"), data)
        if size == 256:
            write(os.path.join(root, "icon", "kovadle.png"), data)


if __name__ == "__main__":
    main()
