#!/usr/bin/env bash
# Installs what building, running, testing and packing Quarn 3D needs on Debian 12.
# Quick when everything is already there.
set -euo pipefail
# qt6-image-formats-plugins reads TIFF map images; libgdal-dev places maps on Earth and writes
# GeoTIFF, gdal-bin and parallel check them as GIS users run them; libzip-dev (found through
# pkg-config) packs 3MF prints. The last two: the face the
# windows ask for, and the faces the window tests run with again.
packages=(g++ cmake ninja-build qt6-base-dev qt6-image-formats-plugins libgdal-dev gdal-bin parallel
          libzip-dev pkg-config libgtest-dev clang libclang-rt-14-dev python3
          assimp-utils dpkg-dev desktop-file-utils appstream
          fonts-liberation2 fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
