#!/usr/bin/env bash
# The GeoTIFF of a placed map as GDAL reads it: gdalinfo gives the grid's size, the map's
# coordinate system and each pixel standing for the map square its sample covers; and
# gdaldem color-relief with the map's own legend gives back the map's band at every sample
# (one sample a map pixel, the Water level under the lowest band).
# Usage: gdal_reads_geotiff.sh QUARN3D-CLI SAMPLES-FOLDER. Exit 77 (skipped) without GDAL.
set -euo pipefail
cli="$1"
samples="$2"
for tool in gdalinfo gdaldem gdal_translate python3; do
    command -v "$tool" >/dev/null || { echo "$tool not installed"; exit 77; }
done
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cp "$samples/island.bmp" "$folder/island.bmp"
# 320 x 240 pixels of 25 metres in UTM zone 33N, the top-left corner at (500000, 5200000).
printf '25\n0\n0\n-25\n500012.5\n5199987.5\n' >"$folder/island.bpw"
heights=(-350 -210 -100 -25 10 40 80 120 160 200 240 280 320 365 415 470)
args=(--water -400 --lawn 90 --snow 400 --interval 25 --srs EPSG:32633)
for e in "${!heights[@]}"; do
    args+=(--height "$e=${heights[$e]}")
done
"$cli" generate "$folder/island.bmp" "$folder/island.tif" "${args[@]}" >/dev/null
info="$(gdalinfo "$folder/island.tif")"
for line in "Size is 320, 240" "UTM zone 33N" "Pixel Size = (25.000000000000000,-25.000000000000000)" \
    "Upper Left  (  500000.000, 5200000.000)" "Lower Right (  508000.000, 5194000.000)" \
    "AREA_OR_POINT=Area" "Type=Float32" "COMPRESSION=DEFLATE" "PREDICTOR=3"; do
    grep -qF "$line" <<<"$info" || { echo "gdalinfo lacks \"$line\":"; echo "$info"; exit 1; }
done
python3 - "$samples/island.bmp" "$folder" "${heights[@]}" <<'PYTHON'
import struct, subprocess, sys
bmp_path, folder, heights = sys.argv[1], sys.argv[2], [int(h) for h in sys.argv[3:]]
bmp = open(bmp_path, 'rb').read()
offset = struct.unpack_from('<I', bmp, 10)[0]
width, height = struct.unpack_from('<ii', bmp, 18)
palette = [bmp[54 + 4 * i:57 + 4 * i][::-1] for i in range(16)]
with open(folder + '/legend.txt', 'w') as legend:
    for h, colour in zip(heights, palette):
        legend.write('%d %d %d %d\n' % (h, *colour))
subprocess.run(['gdaldem', 'color-relief', '-q', '-nearest_color_entry', folder + '/island.tif',
                folder + '/legend.txt', folder + '/bands.tif'], check=True)
channels = []
for band in (1, 2, 3):
    xyz = subprocess.run(['gdal_translate', '-q', '-of', 'XYZ', '-b', str(band),
                          folder + '/bands.tif', '/vsistdout/'],
                         check=True, capture_output=True, text=True).stdout.split('\n')
    channels.append([int(float(line.split()[2])) for line in xyz if line.strip()])
row_bytes = (width * 4 + 31) // 32 * 4
matched = 0
for y in range(height):
    for x in range(width):
        byte = bmp[offset + (height - 1 - y) * row_bytes + x // 2]
        index = byte >> 4 if x % 2 == 0 else byte & 15
        k = y * width + x
        matched += bytes(c[k] for c in channels) == palette[index]
share = matched / (width * height)
print('color-relief gives back the band of %d of %d samples (%.3f %%)'
      % (matched, width * height, 100 * share))
sys.exit(0 if share >= 0.999 else 1)
PYTHON
