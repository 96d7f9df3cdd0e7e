#!/usr/bin/env python3
"""Draws icon/loading.gif: twelve dots turning on a white rounded card (128 x 128).

Plain Python (no imaging library), like make_menu_icon.py. The leading dot is the
darkest blue and the trail fades out behind it; each frame moves the lead one dot
on. Pixels are 4 x 4 supersampled against the card; the card's corners outside
its rounded edge are transparent, and a thin blue edge keeps the card visible on
white windows.
"""
import math
import os
import struct

SIZE = 128
SAMPLES = 4
CARD_RADIUS = 18.0
EDGE = 1.5
RING_RADIUS = 36.0
DOT_RADIUS = 7.0
DOTS = 12
FRAME_DELAY_CS = 8  # hundredths of a second per frame
CARD = (0xFF, 0xFF, 0xFF)
LEAD = (0x33, 0x66, 0x99)
TAIL = (0xD6, 0xE2, 0xEE)
EDGE_COLOUR = (0xA8, 0xC0, 0xD8)
LEVELS = SAMPLES * SAMPLES  # coverage steps of one pixel


def dot_colour(age):
    """Colour of the dot that led `age` frames ago (0 is the lead)."""
    mix = age / (DOTS - 1)
    return tuple(round(a + (b - a) * mix) for a, b in zip(LEAD, TAIL))


def blend(colour, coverage):
    return tuple(round(c + (d - c) * coverage / LEVELS) for c, d in zip(CARD, colour))


def build_palette():
    """Index 0 is transparent, 1 the card, then the edge and every dot shade at every coverage."""
    palette = [(0, 0, 0), CARD]
    index = {}
    for coverage in range(1, LEVELS + 1):
        index[("edge", coverage)] = len(palette)
        palette.append(blend(EDGE_COLOUR, coverage))
    for age in range(DOTS):
        for coverage in range(1, LEVELS + 1):
            index[(age, coverage)] = len(palette)
            palette.append(blend(dot_colour(age), coverage))
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette, index


def inside_card(x, y, inset=0.0):
    radius = CARD_RADIUS - inset
    cx = min(max(x, CARD_RADIUS), SIZE - CARD_RADIUS)
    cy = min(max(y, CARD_RADIUS), SIZE - CARD_RADIUS)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def edge_coverage(px, py):
    """How many samples of the pixel lie on the card's edge band."""
    return sum(1 for sy in range(SAMPLES) for sx in range(SAMPLES)
               if not inside_card(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES, EDGE))


def dot_centres():
    centre = SIZE / 2
    return [(centre + RING_RADIUS * math.sin(2 * math.pi * k / DOTS),
             centre - RING_RADIUS * math.cos(2 * math.pi * k / DOTS)) for k in range(DOTS)]


def frame(lead, palette_index, centres):
    pixels = bytearray()
    for py in range(SIZE):
        for px in range(SIZE):
            if not inside_card(px + 0.5, py + 0.5):
                pixels.append(0)
                continue
            best = None
            for k, (dx, dy) in enumerate(centres):
                if abs(px + 0.5 - dx) > DOT_RADIUS + 1 or abs(py + 0.5 - dy) > DOT_RADIUS + 1:
                    continue
                coverage = sum(
                    1 for sy in range(SAMPLES) for sx in range(SAMPLES)
                    if (px + (sx + 0.5) / SAMPLES - dx) ** 2 + (py + (sy + 0.5) / SAMPLES - dy) ** 2
                    <= DOT_RADIUS ** 2)
                if coverage:
                    best = ((lead - k) % DOTS, coverage)
            if best is None:
                edge = edge_coverage(px, py)
                best = ("edge", edge) if edge else None
            pixels.append(palette_index[best] if best else 1)
    return bytes(pixels)


def lzw(data, min_code_size=8):
    """GIF flavour of LZW: variable code width, clear code when the table is full."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, bit_buffer, bit_count = bytearray(), 0, 0

    def put(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    put(clear, width)
    current = b""
    for value in data:
        candidate = current + bytes([value])
        if candidate in table:
            current = candidate
            continue
        put(table[current], width)
        if next_code == 4096:
            put(clear, width)
            table, next_code, width = reset()
        else:
            table[candidate] = next_code
            if next_code == 1 << width and width < 12:
                width += 1
            next_code += 1
        current = bytes([value])
    put(table[current], width)
    put(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def sub_blocks(data):
    return b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255)) + b"\x00"


def gif(frames, palette):
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", SIZE, SIZE, 0xF7, 0, 0)  # global table of 256 colours
    out += b"".join(bytes(c) for c in palette)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop for ever
    for pixels in frames:
        # Graphic control: restore to background, transparent index 0.
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 0x09, FRAME_DELAY_CS, 0) + b"\x00"
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
        out += b"\x08" + sub_blocks(lzw(pixels))
    out += b"\x3B"
    return bytes(out)


def main():
    palette, palette_index = build_palette()
    centres = dot_centres()
    frames = [frame(lead, palette_index, centres) for lead in range(DOTS)]
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "icon", "loading.gif")
    with open(target, "wb") as out:
        out.write(gif(frames, palette))


if __name__ == "__main__":
    main()
