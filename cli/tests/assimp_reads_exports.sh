#!/usr/bin/env bash
# The mesh exports of the sample island as a real reader sees them: Assimp must import each
# with the expected number of faces (the STL adds walls and a bottom to the 9322 triangles).
# Usage: assimp_reads_exports.sh QUARN3D-CLI SAMPLES-FOLDER. Exit 77 (skipped) without assimp.
set -euo pipefail
cli="$1"
samples="$2"
command -v assimp >/dev/null || { echo "assimp not installed"; exit 77; }
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
heights=(-350 -210 -100 -25 10 40 80 120 160 200 240 280 320 365 415 470)
args=(--water 0 --lawn 90 --snow 400 --map-width 8000 --map-height 6000 --interval 100)
for e in "${!heights[@]}"; do
    args+=(--height "$e=${heights[$e]}")
done
for expected in stl:10150 obj:9322 ply:9322 glb:9322; do
    extension="${expected%%:*}"
    faces="${expected##*:}"
    file="$folder/island.$extension"
    "$cli" generate "$samples/island.bmp" "$file" "${args[@]}" >/dev/null
    report="$(assimp info "$file")"
    if ! grep -qE "^Faces: +$faces\$" <<<"$report"; then
        echo "$extension: Assimp does not read $faces faces:"
        echo "$report"
        exit 1
    fi
    echo "$extension: $faces faces"
done
