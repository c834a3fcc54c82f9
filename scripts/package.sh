#!/usr/bin/env bash
# Sets up, builds and packs Quarn 3D as a Debian package in build/ (quarn3d_VERSION-1_ARCH.deb,
# installed under /usr), then runs lintian on it where lintian is installed.
# QUARN_BUILD_DIR names another folder.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QUARN_BUILD_DIR:-build}"
scripts/setup.sh
scripts/build.sh
# The man pages and the guide's place name the prefix the package installs to.
cmake -S . -B "$dir" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$dir" -j"$(nproc)"
cpack --config "$dir/CPackConfig.cmake" -B "$dir" -G DEB
if command -v lintian >/dev/null; then
    lintian --info "$dir"/quarn3d_*.deb
fi
