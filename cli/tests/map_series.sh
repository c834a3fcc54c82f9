#!/usr/bin/env bash
# A map series as the user guide runs it: three georeferenced sheets side by side generated to
# GeoTIFF in parallel by GNU parallel, then joined by gdalbuildvrt into one mosaic, whose size
# and extent must be the three sheets' together.
# Usage: map_series.sh QUARN3D-CLI SAMPLES-FOLDER. Exit 77 (skipped) without parallel or GDAL.
set -euo pipefail
cli="$1"
samples="$2"
for tool in parallel gdalbuildvrt gdalinfo; do
    command -v "$tool" >/dev/null || { echo "$tool not installed"; exit 77; }
done
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/sheets"
# The island sample, 320 x 240 pixels of 25 metres, three times from west to east.
for sheet in 0 1 2; do
    cp "$samples/island.bmp" "$folder/sheets/sheet$sheet.bmp"
    printf '25\n0\n0\n-25\n%d.5\n5199987.5\n' "$((500012 + 8000 * sheet))" \
        >"$folder/sheets/sheet$sheet.bpw"
done
heights=(-350 -210 -100 -25 10 40 80 120 160 200 240 280 320 365 415 470)
args=(--water 0 --lawn 90 --snow 400 --interval 100 --srs EPSG:32633)
for e in "${!heights[@]}"; do
    args+=(--height "$e=${heights[$e]}")
done
parallel --will-cite "$cli" generate {} {.}.tif "${args[@]}" ::: "$folder"/sheets/*.bmp
gdalbuildvrt -q "$folder/mosaic.vrt" "$folder"/sheets/*.tif
info="$(gdalinfo "$folder/mosaic.vrt")"
expect() {
    grep -qF "$1" <<<"$info" || { echo "the mosaic lacks \"$1\":"; echo "$info"; exit 1; }
}
expect "Size is 240, 60"
expect "Upper Left  (  500000.000, 5200000.000)"
expect "Lower Right (  524000.000, 5194000.000)"
expect "Pixel Size = (100.000000000000000,-100.000000000000000)"
expect "UTM zone 33N"
echo "mosaic of 3 sheets: 240 x 60 samples from (500000, 5200000) to (524000, 5194000)"
