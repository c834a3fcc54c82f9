#!/usr/bin/env bash
# Sets up, builds and runs every test, warnings as errors in every build: the suite (window
# tests offscreen, benchmarks at a small size, the install layout in a temporary prefix), a
# check that samples/make_maps.py still draws the sample maps, the suite again under
# AddressSanitizer (with leak checking) and UndefinedBehaviorSanitizer, and a short fuzz run of
# each parser.
#   scripts/test.sh --quick   builds and runs the suite only (no set-up, no other checks)
set -euo pipefail
cd "$(dirname "$0")/.."
quick=false
if [ "$#" -eq 1 ] && [ "$1" = "--quick" ]; then
    quick=true
elif [ "$#" -ne 0 ]; then
    echo "Usage: scripts/test.sh [--quick]" >&2
    exit 2
fi
"$quick" || scripts/setup.sh
scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir "${QUARN_BUILD_DIR:-build}" --output-on-failure \
    -j"$(nproc)"
"$quick" && exit 0

drawn="$(mktemp -d)"
trap 'rm -rf "$drawn"' EXIT
cp samples/make_maps.py "$drawn/"
python3 "$drawn/make_maps.py"
for map in island.bmp valley.bmp; do
    cmp "samples/$map" "$drawn/$map"
done

scripts/sanitize.sh
QUARN_FUZZ_SECONDS="${QUARN_FUZZ_SECONDS:-60}" scripts/fuzz.sh
