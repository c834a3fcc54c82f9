#!/usr/bin/env python3
"""Peer comparison of the smooth surface with GRASS GIS's r.surf.contour.

Draws smooth test landscapes, cuts each into 16 equal height bands as a 16-colour BMP
(colour b = band b, its height the band's middle), and rebuilds the landscape three ways:
quarn3d-cli generate terraced and smooth (CellSize 4), and r.surf.contour from the band
boundaries as contour lines. Each result is compared with the landscape averaged over the
same 4 x 4 cells; the figures are RMSE / band spacing and the wall time of each run.

Usage: grass_peer.py QUARN3D-CLI [SIDE]   (needs grass-core; SIDE defaults to 512 pixels)
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

BANDS = 16
CELL = 4


def landscapes(side):
    def hills(x, y):
        return sum(h * math.exp(-((x - cx) ** 2 + (y - cy) ** 2) / (2 * s * s))
                   for cx, cy, s, h in [(0.3, 0.35, 0.12, 1.0), (0.7, 0.6, 0.15, 0.8),
                                        (0.45, 0.8, 0.08, 0.6)])

    def ridge(x, y):
        d = abs((y - 0.5) - 0.3 * math.sin(3 * x))
        return math.exp(-d * d / 0.02) * (0.6 + 0.4 * x)

    def crater(x, y):
        r = math.hypot(x - 0.5, y - 0.5)
        return math.exp(-((r - 0.25) ** 2) / 0.01) - 0.6 * math.exp(-r * r / 0.004)

    def edge_slope(x, y):
        return 0.8 * x + 0.4 * y + 0.3 * math.exp(-((x - 0.9) ** 2 + (y - 0.1) ** 2) / 0.02)

    return {"hills": hills, "ridge": ridge, "crater with pit": crater,
            "slopes cut by the edge": edge_slope}


def sample(f, side):
    return [[f((i + 0.5) / side, (j + 0.5) / side) for i in range(side)] for j in range(side)]


def write_bmp(path, bands):
    side = len(bands)
    row = ((side * 4 + 31) // 32) * 4
    pixels = bytearray()
    for j in reversed(range(side)):
        line = bytearray(row)
        for i in range(side):
            line[i // 2] |= bands[j][i] << (4 if i % 2 == 0 else 0)
        pixels += line
    palette = b"".join(struct.pack("<BBBB", 10 + 15 * b, 200 - 12 * b, 8 * b, 0)
                       for b in range(BANDS))
    offset = 14 + 40 + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 4, 0, len(pixels), 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


def read_3df_heights(path, extent):
    with open(path, "rb") as f:
        data = f.read()
    (count,) = struct.unpack_from("<i", data, 3)
    return [struct.unpack_from("<fff", data, 7 + 12 * k)[2] * extent / 2.5 for k in range(count)]


def cell_means(grid, side):
    cols = side // CELL
    return [sum(grid[j * CELL + dj][i * CELL + di] for dj in range(CELL) for di in range(CELL))
            / (CELL * CELL) for j in range(cols) for i in range(cols)]


def rmse(a, b):
    return math.sqrt(sum((p - q) ** 2 for p, q in zip(a, b)) / len(a))


def quarn(cli, bmp, out, side, surface, spacing):
    args = [cli, "generate", bmp, out, "--water", "-1000000", "--lawn", "0", "--snow", "1",
            "--map-width", str(side), "--map-height", str(side), "--interval", str(CELL),
            "--surface", surface]
    for b in range(BANDS):
        args += ["--height", f"{b}={round((b + 0.5) * spacing)}"]
    start = time.perf_counter()
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)
    return read_3df_heights(out, side), time.perf_counter() - start


def grass(folder, bands, side, spacing):
    """r.surf.contour from the band boundaries: a pixel beside a higher band carries the
    boundary's level."""
    lines = [f"north: {side}", "south: 0", f"east: {side}", "west: 0", f"rows: {side}",
             f"cols: {side}"]
    for j in range(side):
        row = []
        for i in range(side):
            b = bands[j][i]
            higher = [bands[y][x] for x, y in ((i + 1, j), (i - 1, j), (i, j + 1), (i, j - 1))
                      if 0 <= x < side and 0 <= y < side and bands[y][x] > b]
            row.append(str(min(higher) * spacing) if higher else "*")
        lines.append(" ".join(row))
    with open(os.path.join(folder, "contours.asc"), "w") as f:
        f.write("\n".join(lines) + "\n")
    location = os.path.join(folder, "grass")
    subprocess.run(["grass", "-c", "XY", "-e", location], check=True, capture_output=True)
    script = (f"r.in.ascii input={folder}/contours.asc output=contours --quiet && "
              f"g.region raster=contours && "
              f"r.surf.contour input=contours output=surface --quiet && "
              f"r.out.ascii input=surface output={folder}/surface.asc --quiet")
    start = time.perf_counter()
    subprocess.run(["grass", os.path.join(location, "PERMANENT"), "--exec", "bash", "-c", script],
                   check=True, capture_output=True)
    seconds = time.perf_counter() - start
    with open(os.path.join(folder, "surface.asc")) as f:
        values = [line.split() for line in f.read().splitlines()[6:]]
    return [[float(v) for v in row] for row in values], seconds


def main():
    cli = sys.argv[1]
    side = int(sys.argv[2]) if len(sys.argv) > 2 else 512
    spacing = 64.0  # whole-number band middles: 32, 96, ...
    print(f"{side} x {side} pixels, 16 bands of {spacing:g}, CellSize {CELL}; "
          "RMSE / band spacing (time)")
    for name, f in landscapes(side).items():
        folder = tempfile.mkdtemp(prefix="quarn-peer-")
        try:
            raw = sample(f, side)
            low = min(min(r) for r in raw)
            high = max(max(r) for r in raw)
            truth = [[(v - low) / (high - low) * BANDS * spacing * 0.999999 for v in r]
                     for r in raw]
            bands = [[int(v // spacing) for v in r] for r in truth]
            bmp = os.path.join(folder, "map.bmp")
            write_bmp(bmp, bands)
            expected = cell_means(truth, side)
            results = []
            for surface in ("terraced", "smooth"):
                got, seconds = quarn(cli, bmp, os.path.join(folder, surface + ".3df"), side,
                                     surface, spacing)
                results.append((surface, rmse(got, expected) / spacing, seconds))
            surface, seconds = grass(folder, bands, side, spacing)
            results.append(("r.surf.contour", rmse(cell_means(surface, side), expected) / spacing,
                            seconds))
            print(f"{name:24}" + "  ".join(f"{what} {e:.3f} ({s:.2f} s)"
                                            for what, e, s in results))
        finally:
            shutil.rmtree(folder)


if __name__ == "__main__":
    main()
