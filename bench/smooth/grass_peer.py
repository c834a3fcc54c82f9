#!/usr/bin/env python3
"""Peer comparison of the smooth surface with GRASS GIS's r.surf.contour.

Takes the smooth benchmark's landscapes (quarn_bench_smooth --peer-maps: each cut into 16
equal height bands as a 16-colour BMP, colour b = band b, its height the band's middle) and
rebuilds each three ways: quarn3d-cli generate terraced and smooth (CellSize 4), and
r.surf.contour from the band boundaries as contour lines. Each result is compared with the
landscape averaged over the same 4 x 4 cells; the figures are RMSE / band spacing and the wall
time of each run.

Usage: grass_peer.py QUARN3D-CLI QUARN_BENCH_SMOOTH [SIDE]
(needs grass-core; SIDE defaults to 512 pixels)
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


def read_landscapes(bench, folder, side):
    """(display name, band map path, landscape rows in band spacings) per landscape."""
    subprocess.run([bench, "--peer-maps", folder, str(side)], check=True)
    with open(os.path.join(folder, "landscapes.txt")) as f:
        entries = [line.rstrip("\n").split(" ", 1) for line in f if line.strip()]
    for file, name in entries:
        with open(os.path.join(folder, file + ".f64"), "rb") as f:
            values = struct.unpack(f"<{side * side}d", f.read())
        rows = [list(values[j * side:(j + 1) * side]) for j in range(side)]
        yield name, os.path.join(folder, file + ".bmp"), rows


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
    cli, bench = sys.argv[1], sys.argv[2]
    side = int(sys.argv[3]) if len(sys.argv) > 3 else 512
    spacing = 64.0  # whole-number band middles: 32, 96, ...
    print(f"{side} x {side} pixels, 16 bands of {spacing:g}, CellSize {CELL}; "
          "RMSE / band spacing (time)")
    maps = tempfile.mkdtemp(prefix="quarn-peer-maps-")
    try:
        for name, bmp, landscape in read_landscapes(bench, maps, side):
            folder = tempfile.mkdtemp(prefix="quarn-peer-")
            try:
                truth = [[v * spacing for v in row] for row in landscape]
                bands = [[min(int(v), BANDS - 1) for v in row] for row in landscape]
                expected = cell_means(truth, side)
                results = []
                for surface in ("terraced", "smooth"):
                    got, seconds = quarn(cli, bmp, os.path.join(folder, surface + ".3df"), side,
                                         surface, spacing)
                    results.append((surface, rmse(got, expected) / spacing, seconds))
                surface, seconds = grass(folder, bands, side, spacing)
                results.append(("r.surf.contour",
                                rmse(cell_means(surface, side), expected) / spacing, seconds))
                print(f"{name:18}" + "  ".join(f"{what} {e:.3f} ({s:.2f} s)"
                                                for what, e, s in results))
            finally:
                shutil.rmtree(folder)
    finally:
        shutil.rmtree(maps)


if __name__ == "__main__":
    main()
