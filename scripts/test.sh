#!/usr/bin/env bash
# Sets up, builds and runs every test: the suite (window tests offscreen), the same suite
# under AddressSanitizer + UndefinedBehaviorSanitizer, and a short fuzz run of each parser.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
scripts/sanitize.sh
QUARN_FUZZ_SECONDS="${QUARN_FUZZ_SECONDS:-60}" scripts/fuzz.sh
