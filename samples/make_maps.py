#!/usr/bin/env python3
"""Draws the sample contour maps island.bmp and valley.bmp.

Each map is a height field quantised into 16 bands, one palette index per band, written as
an uncompressed 4-bit BMP (118-byte header and colour table, rows bottom up). Edges are
never blended: every pixel holds exactly one palette colour. Run from any folder; the maps
are written beside this script. Suggested heights and levels are in document.txt ("8. SAMPLE MAPS").
"""
import math
import os
import struct

# Band colours (red, green, blue), from deep water up to snow.
PALETTE = [
    (0, 0, 128), (0, 0, 200), (40, 90, 230), (110, 170, 250),  # deep sea .. shallows
    (240, 220, 140),  # shore
    (60, 170, 60), (40, 140, 40), (30, 110, 30),  # lawn, meadows
    (140, 150, 60), (170, 140, 70), (150, 110, 60), (120, 85, 50),  # hills
    (130, 120, 120), (170, 165, 165), (215, 215, 225), (255, 255, 255),  # rock .. snow
]


def write_bmp(path, width, height, band_of):
    row_bytes = (width + 7) // 8 * 4
    pixels = bytearray()
    for row in range(height):
        y = height - 1 - row
        line = bytearray(row_bytes)
        for x in range(width):
            band = band_of(x, y)
            line[x // 2] |= band << 4 if x % 2 == 0 else band
        pixels += line
    offset = 54 + 4 * len(PALETTE)
    header = struct.pack("<2sIIIIiiHHIIiiII", b"BM", offset + len(pixels), 0, offset, 40,
                         width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    with open(path, "wb") as f:
        f.write(header + table + pixels)


def bump(x, y, cx, cy, radius, height):
    return height * math.exp(-((x - cx) ** 2 + (y - cy) ** 2) / (2.0 * radius * radius))


def quantise(value, edges):
    """The band of value: how many band edges it reaches."""
    return sum(1 for edge in edges if value >= edge)


# Height of the band edges in the maps' own units; 15 edges give 16 bands.
ISLAND_EDGES = [-0.55, -0.3, -0.1, 0.0, 0.04, 0.12, 0.2, 0.28, 0.36, 0.44, 0.52, 0.6, 0.68,
                0.78, 0.88]


def island(x, y):
    w, h = 320, 240
    u, v = (x - w * 0.5) / (w * 0.5), (y - h * 0.5) / (h * 0.5)
    coast = 0.35 * math.cos(3.0 * math.atan2(v, u) + 0.6) * 0.25  # a ragged shoreline
    land = 0.6 - 1.3 * math.hypot(u * 1.05, v * 1.2) + coast
    peaks = (bump(x, y, 145, 105, 18, 0.6) + bump(x, y, 205, 135, 14, 0.5) +
             bump(x, y, 110, 150, 20, 0.3) + bump(x, y, 175, 120, 40, 0.15))
    ripple = 0.04 * math.sin(x * 0.11) * math.cos(y * 0.13)
    return quantise(land + peaks + ripple, ISLAND_EDGES)


VALLEY_EDGES = [-0.2, -0.1, -0.04, 0.0, 0.05, 0.12, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8,
                0.9, 1.0]


def valley(x, y):
    w, h = 360, 240
    # A river winds from the left edge to the right; the ground climbs away from it.
    river = h * 0.5 + 30.0 * math.sin(x * 0.025) + 10.0 * math.sin(x * 0.07 + 1.0)
    distance = abs(y - river) / (h * 0.5)
    ground = 0.95 * distance ** 1.3 - 0.15 + 0.0006 * x
    ridges = bump(x, y, 70, 25, 25, 0.4) + bump(x, y, 290, 220, 28, 0.45)
    lake = -bump(x, y, 250, river, 22, 0.35)
    return quantise(ground + ridges + lake, VALLEY_EDGES)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(here, "island.bmp"), 320, 240, island)
    write_bmp(os.path.join(here, "valley.bmp"), 360, 240, valley)
