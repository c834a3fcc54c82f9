#!/usr/bin/env bash
# Configures and builds into build/ (executables in build/bin/), warnings as errors.
# QUARN_BUILD_DIR names another folder (the sanitizer and fuzz builds add -asan and -fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QUARN_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_WERROR=ON >/dev/null
cmake --build "$dir" -j"$(nproc)"
