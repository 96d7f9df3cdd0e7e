#!/usr/bin/env python3
"""Draws icon/menu.png: three white bars on a blue rounded square (64 x 64).

Plain Python (zlib + struct), so it runs anywhere without an imaging library.
Each pixel is 4 x 4 supersampled for smooth edges.
"""
import os
import sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_writer import png  # noqa: E402

SIZE = 64
SAMPLES = 4
RADIUS = 12.0
BLUE = (0x33, 0x66, 0x99)
WHITE = (0xFF, 0xFF, 0xFF)
BARS = [(16.0, 20.0), (30.0, 34.0), (44.0, 48.0)]  # top and bottom of each bar
BAR_LEFT, BAR_RIGHT = 15.0, 49.0


def inside_rounded_square(x, y):
    # Distance to the nearest corner centre decides the rounded corners.
    cx = min(max(x, RADIUS), SIZE - RADIUS)
    cy = min(max(y, RADIUS), SIZE - RADIUS)
    return (x - cx) ** 2 + (y - cy) ** 2 <= RADIUS ** 2


def inside_bar(x, y):
    if not BAR_LEFT <= x <= BAR_RIGHT:
        return False
    return any(top <= y <= bottom for top, bottom in BARS)


def pixel(px, py):
    square = bars = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            if inside_rounded_square(x, y):
                square += 1
                if inside_bar(x, y):
                    bars += 1
    if square == 0:
        return (0, 0, 0, 0)
    mix = bars / square
    colour = tuple(round(b + (w - b) * mix) for b, w in zip(BLUE, WHITE))
    return colour + (round(255 * square / SAMPLES ** 2),)



def main():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "icon", "menu.png")
    with open(target, "wb") as out:
        out.write(png(SIZE, SIZE, rows))


if __name__ == "__main__":
    main()
